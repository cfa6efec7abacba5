#include "core/Startup.h"
#include "support/TestFiles.h"
#include "coreui/frmOpen.h"
#include "coreui/frmPassword.h"
#include "core/modMain.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

TEST(Startup, SecondCopyIsRefusedWithMessage99)
{
    const QString name = "vantik-test-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QStringList told;
    auto tell = [&](const QString &text, const QString &title) { told << text << title; };

    auto first = ClaimSingleInstance(name, tell);
    ASSERT_TRUE(first);
    EXPECT_FALSE(ClaimSingleInstance(name, tell));
    EXPECT_EQ(told, QStringList({"It has already started.", "VANTIK - Configuration Program"}));
    first.reset(); // once the first copy ends, a new one may start
    EXPECT_TRUE(ClaimSingleInstance(name, tell));
    EXPECT_EQ(told.size(), 2);
}

// A temporary folder the lock cannot be made in is not another running copy: say what is wrong.
TEST(Startup, LockThatCannotBeMadeIsNotASecondCopy)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString plainFile = dir.filePath("not-a-folder");
    WriteTestFile(plainFile, QByteArray());
    const QByteArray savedTmp = qgetenv("TMPDIR");
    struct Restore {
        QByteArray v;
        ~Restore() { v.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", v); }
    } restore{savedTmp};

    const struct {
        QString tmp;
        QString why;
    } cases[] = {{plainFile, "it is not a folder"}, {dir.filePath("gone"), "the folder does not exist"}};
    for (const auto &c : cases) {
        qputenv("TMPDIR", c.tmp.toLocal8Bit());
        QStringList told;
        EXPECT_FALSE(ClaimSingleInstance("vantik-test-lock", [&](const QString &text, const QString &title) {
            told << text << title;
        }));
        ASSERT_EQ(told.size(), 2);
        EXPECT_NE(told[0], QStringLiteral("It has already started."));
        EXPECT_TRUE(told[0].contains(c.tmp) && told[0].contains(c.why)) << told[0].toStdString();
        EXPECT_EQ(told[1], QStringLiteral("VANTIK - Configuration Program"));
    }
}

TEST(Startup, DebugSwitchAnywhereInAnyCase)
{
    EXPECT_TRUE(HasDebugSwitch({"foo", "-Debug"}) && HasDebugSwitch({"x-debugx"}));
    EXPECT_FALSE(HasDebugSwitch({}) || HasDebugSwitch({"DEBUG", "-DEBU", "G"}));
}

TEST(Startup, SplashClosesItselfWithATitleTwiceTheProgramFont)
{
    ResetCoreGlobals();
    frmOpen splash(50);
    EXPECT_DOUBLE_EQ(splash.findChild<QLabel *>("lblTitle")->font().pointSizeF(), 2 * gFont.size);
    EXPECT_EQ(splash.exec(), QDialog::Accepted);
}

namespace {
struct LoginFixture : ::testing::Test {
    void SetUp() override
    {
        ResetCoreGlobals();
        gPassword = "Secret" + QString(26, 'x'); // the longest a technician can type
        gShowMainWindow = [this] { ++mainShown; };
    }
    void TearDown() override
    {
        gShowMainWindow = nullptr;
        ResetCoreGlobals();
    }
    int mainShown = 0;
};
}

TEST_F(LoginFixture, WrongPasswordStaysOpenAndAMatchIgnoresCase)
{
    ScriptedMsgBox boxes;
    frmPassword login;
    login.show();
    login.txtPassword()->setText("Secret2");
    QTest::keyClick(login.txtPassword(), Qt::Key_Return);
    EXPECT_FALSE(login.Succeeded());
    EXPECT_TRUE(login.isVisible());
    EXPECT_EQ(boxes.prompts(), QStringList{"Incorrect Password Entered"});

    // The wrong text is selected, so typing replaces it; a 33rd character is not taken.
    QTest::keyClicks(login.txtPassword(), "sEcReT" + QString(26, 'X') + "!");
    QTest::mouseClick(login.cmdOK(), Qt::LeftButton);
    EXPECT_TRUE(login.Succeeded());
    EXPECT_EQ(mainShown, 1);
    EXPECT_FALSE(login.isVisible());
    EXPECT_EQ(boxes.calls().size(), 1); // closing after success asks nothing
}

TEST_F(LoginFixture, ClosingBeforeSuccessAsksEnd)
{
    ScriptedMsgBox boxes({vb::No, vb::Yes});
    frmPassword login;
    login.show();
    login.close();
    EXPECT_EQ(boxes.prompts(), QStringList{"End ?"});
    EXPECT_TRUE(login.isVisible()); // No keeps it open
    QTest::mouseClick(login.cmdCancel(), Qt::LeftButton);
    EXPECT_EQ(boxes.prompts().size(), 2);
    EXPECT_FALSE(login.isVisible()); // Yes lets it go
    EXPECT_EQ(mainShown, 0);
}

TEST_F(LoginFixture, WithoutAHookTheRegisteredMainFormIsShown)
{
    ScriptedMsgBox boxes; // a refused login must not wait on a real box
    gShowMainWindow = nullptr;
    ResetForms();
    RegisterForm("frmMain", [] { return new QWidget; });
    frmPassword login;
    login.show();
    login.txtPassword()->setText(gPassword);
    EXPECT_TRUE(login.TryLogin());
    ASSERT_NE(FindForm("frmMain"), nullptr);
    EXPECT_TRUE(FindForm("frmMain")->isVisible());
    ResetForms();
}
