// vantik-sim: a simulated instrument for trying the program without one.
//   vantik-sim --pty            serve a pseudo-terminal and print its device path
//   vantik-sim --irda [NAME]    serve the infrared-socket stand-in (default name "vantik-irda")
//   --state FILE                start from a settings file (".seq") instead of the demo state
//   --fault RULE                inject a fault, e.g. "refuse:WB", "noanswer:XP:2", "delay:HC:1:-1:500",
//                               "checksum:EP:5" (RULE = kind:code[:nth[:times[:ms]]]; code "*" = any;
//                               times -1 = every time, the default of damageall, once for the others)
//   --busy N                    busy answers before DEFAULT / calibration / restore finish (default 2)
//   --default-status HEX        the DEFAULT result (default "0")
#include "link/IrdaTransport.h"
#include "sim/SimInstrument.h"
#include "sim/SimRuleText.h"
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <csignal>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vantik-sim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulated instrument for the configuration program."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("pty"), QStringLiteral("Serve a pseudo-terminal and print its path.")});
    parser.addOption({QStringLiteral("irda"), QStringLiteral("Serve the infrared-socket stand-in.")});
    parser.addOption({QStringLiteral("name"), QStringLiteral("Socket name for --irda."), QStringLiteral("name"),
                      IrdaTransport::DefaultServerName()});
    parser.addOption({QStringLiteral("state"), QStringLiteral("Settings file to start from."), QStringLiteral("file")});
    parser.addOption({QStringLiteral("fault"), QStringLiteral("Fault rule kind:code[:nth[:times[:ms]]]."),
                      QStringLiteral("rule")});
    parser.addOption({QStringLiteral("busy"), QStringLiteral("Busy answers before a result."), QStringLiteral("n"),
                      QStringLiteral("2")});
    parser.addOption({QStringLiteral("default-status"), QStringLiteral("DEFAULT result."), QStringLiteral("hex"),
                      QStringLiteral("0")});
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    SimInstrument sim;
    sim.fillDemoState();
    if (parser.isSet(QStringLiteral("state"))) {
        QString why;
        if (!sim.loadSettings(parser.value(QStringLiteral("state")), &why)) {
            err << "vantik-sim: " << why << Qt::endl;
            return 2;
        }
    }
    for (const QString &r : parser.values(QStringLiteral("fault"))) {
        SimFaultRule rule;
        if (!ParseFaultRule(r, &rule)) {
            err << "vantik-sim: bad fault rule " << r << Qt::endl;
            return 2;
        }
        sim.addRule(rule);
    }
    sim.setBusyPolls(parser.value(QStringLiteral("busy")).toInt());
    sim.setDefaultResult(parser.value(QStringLiteral("default-status")));

    if (parser.isSet(QStringLiteral("pty"))) {
        const QString path = sim.openPty();
        if (path.isEmpty()) {
            err << "vantik-sim: no pseudo-terminal" << Qt::endl;
            return 1;
        }
        out << path << Qt::endl;
    } else {
        const QString name = parser.value(QStringLiteral("name"));
        if (!sim.serveIrda(name)) {
            err << "vantik-sim: cannot serve " << name << Qt::endl;
            return 1;
        }
        out << "serving " << name << Qt::endl;
    }
    std::signal(SIGINT, [](int) { QCoreApplication::quit(); });
    std::signal(SIGTERM, [](int) { QCoreApplication::quit(); });
    return app.exec();
}
