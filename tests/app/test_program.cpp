// The program's start as main runs it: a refused start tells the user why and ends with a
// status a script can tell from a run.
#include "app/Program.h"
#include "core/Startup.h"
#include "core/modMain.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QUuid>
#include <gtest/gtest.h>

TEST(Program, RefusedStartSaysWhyAndEndsWithStatus1)
{
    ResetForms();
    const QString name = "vantik-test-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray savedTmp = qgetenv("TMPDIR");
    struct Restore {
        QByteArray v;
        ~Restore() { v.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", v); }
    } restore{savedTmp};

    // Another copy holds the lock.
    qputenv("TMPDIR", dir.path().toLocal8Bit());
    auto other = ClaimSingleInstance(name, {});
    ASSERT_TRUE(other);
    {
        ScriptedMsgBox boxes;
        EXPECT_EQ(RunProgram(name), 1);
        ASSERT_EQ(boxes.calls().size(), 1);
        EXPECT_EQ(boxes.calls()[0].prompt, QStringLiteral("It has already started."));
        EXPECT_EQ(boxes.calls()[0].title, QStringLiteral("VANTIK - Configuration Program"));
        EXPECT_EQ(boxes.calls()[0].icon(), vb::Exclamation);
    }
    // The lock cannot be made at all.
    qputenv("TMPDIR", dir.filePath("gone").toLocal8Bit());
    {
        ScriptedMsgBox boxes;
        EXPECT_EQ(RunProgram(name), 1);
        ASSERT_EQ(boxes.calls().size(), 1);
        const QString said = boxes.calls()[0].prompt;
        EXPECT_TRUE(said.startsWith(QStringLiteral("The program cannot start"))) << said.toStdString();
    }
    // Neither start went on to the splash or the login.
    EXPECT_EQ(FindForm(QStringLiteral("frmPassword")), nullptr);
    for (QWidget *w : QApplication::topLevelWidgets())
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    EXPECT_FALSE(gShowMainWindow);
}

// The first start holds the lock as long as it runs: a second start meanwhile is refused.
TEST(Program, SecondStartWhileTheFirstRunsIsRefused)
{
    ResetForms();
    const QString name = "vantik-test-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    ScriptedMsgBox boxes({vb::OK, vb::Yes}); // the refusal, then "end the program?" on closing the login
    int second = -2;
    // Once the first start shows its login (its event loop runs), start again, then close
    // the login, which ends the first.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget *login = FindForm(QStringLiteral("frmPassword"));
        if (!login || !login->isVisible())
            return;
        watch.stop();
        second = RunProgram(name);
        login->close();
        QCoreApplication::quit(); // ends the first start even if the login stayed open
    });
    watch.start(10);
    EXPECT_EQ(RunProgram(name), 0);
    EXPECT_EQ(second, kStartRefused);
    EXPECT_EQ(boxes.prompts().value(0).toStdString(), "It has already started.");
    // Ended, the first lets the next start have the lock.
    EXPECT_TRUE(ClaimSingleInstance(name, {}));
    gShowMainWindow = nullptr;
    ResetForms();
}
