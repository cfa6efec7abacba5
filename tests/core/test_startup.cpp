#include "core/Messages.h"
#include "core/Startup.h"
#include "coreui/frmOpen.h"
#include "coreui/frmPassword.h"
#include "core/modMain.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QUuid>
#include <gtest/gtest.h>

TEST(Startup, SecondCopyIsRefusedWithMessage99)
{
    const QString name = "vantik-test-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QStringList told;
    auto tell = [&](const QString &text, const QString &title) { told << text << title; };

    auto first = ClaimSingleInstance(name, tell);
    ASSERT_TRUE(first);
    EXPECT_TRUE(told.isEmpty());

    EXPECT_FALSE(ClaimSingleInstance(name, tell));
    EXPECT_EQ(told, QStringList({"It has already started.", "VANTIK - Configuration Program"}));

    // Once the first copy ends, a new one may start.
    first.reset();
    told.clear();
    EXPECT_TRUE(ClaimSingleInstance(name, tell));
    EXPECT_TRUE(told.isEmpty());
}

TEST(Startup, DebugSwitchAnywhereInAnyCase)
{
    EXPECT_TRUE(HasDebugSwitch({"foo", "-Debug"}));
    EXPECT_TRUE(HasDebugSwitch({"x-debugx"}));
    EXPECT_FALSE(HasDebugSwitch({}));
    EXPECT_FALSE(HasDebugSwitch({"DEBUG", "-DEBU", "G"}));
}

TEST(Startup, SplashClosesItself)
{
    QElapsedTimer t;
    t.start();
    frmOpen splash(50);
    EXPECT_EQ(splash.objectName(), "frmOpen");
    EXPECT_EQ(splash.exec(), QDialog::Accepted);
    EXPECT_GE(t.elapsed(), 50);
}

namespace {
struct LoginFixture : ::testing::Test {
    void SetUp() override
    {
        ResetCoreGlobals();
        gPassword = "Secret";
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

    login.txtPassword()->clear();
    QTest::keyClicks(login.txtPassword(), "sEcReT");
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
    ASSERT_EQ(boxes.calls().size(), 1);
    EXPECT_EQ(boxes.calls()[0].prompt, "End ?");
    EXPECT_TRUE(login.isVisible()); // No keeps it open

    QTest::mouseClick(login.cmdCancel(), Qt::LeftButton);
    EXPECT_EQ(boxes.calls().size(), 2);
    EXPECT_FALSE(login.isVisible()); // Yes lets it go
    EXPECT_EQ(mainShown, 0);
}

TEST_F(LoginFixture, WithoutAHookTheRegisteredMainFormIsShown)
{
    gShowMainWindow = nullptr;
    ResetForms();
    ScriptedMsgBox boxes;
    frmPassword first;
    first.show();
    first.txtPassword()->setText("secret");
    EXPECT_TRUE(first.TryLogin()); // no main form at all: the login just closes
    EXPECT_FALSE(first.isVisible());
    RegisterForm("frmMain", [] { return new QWidget; });
    frmPassword login;
    login.show();
    login.txtPassword()->setText("secret");
    EXPECT_TRUE(login.TryLogin());
    QWidget *main = FindForm("frmMain");
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    EXPECT_TRUE(boxes.calls().isEmpty());
    ResetForms();
}

// Pictures of the two start-up windows beside the test program, for a person to look at.
TEST_F(LoginFixture, ScreenshotsOfSplashAndLogin)
{
    const QString dir = QCoreApplication::applicationDirPath() + "/screenshots";
    QDir().mkpath(dir);
    frmOpen splash(10000);
    splash.show();
    QApplication::processEvents();
    const QImage s = splash.grab().toImage();
    EXPECT_FALSE(s.isNull());
    EXPECT_TRUE(s.save(dir + "/frmOpen.png"));
    splash.hide();

    ScriptedMsgBox boxes;
    frmPassword login;
    login.show();
    login.txtPassword()->setText("abc");
    QApplication::processEvents();
    const QImage l = login.grab().toImage();
    EXPECT_FALSE(l.isNull());
    EXPECT_TRUE(l.save(dir + "/frmPassword.png"));
    login.txtPassword()->setText("secret");
    login.TryLogin();
}
