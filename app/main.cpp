#include "app/Program.h"
#include "core/Startup.h"
#include <QApplication>

int main(int argc, char **argv)
{
    PrepareProcess();
    QApplication app(argc, argv);
    return RunProgram(InstanceLockName());
}
