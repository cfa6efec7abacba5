// The serial-number and file-suffix fields, typed into and left as a user does.
#include "ViewFixture.h"

namespace {

class FieldEditing : public ViewFixture {
protected:
    QLineEdit *serial() const { return form->txtOption[0]; }
    bool IsRed(QLineEdit *f) const { return f->palette().color(QPalette::Base) == QColor(255, 0, 0); }
    // What a paste does: replaces the selection with text the key filter never saw.
    void Paste(QLineEdit *f, const QString &text)
    {
        f->selectAll();
        f->insert(text);
    }
};

TEST_F(FieldEditing, SerialNumberKeysAndStoring)
{
    ASSERT_TRUE(StartWith());
    Enter(serial());
    serial()->selectAll();
    QTest::keyClicks(serial(), "ab-1!");
    EXPECT_EQ(serial()->text(), "AB-1");
    EXPECT_EQ(BeepCount(), 1);
    EXPECT_FALSE(rec().Change_SerialNo()) << "nothing is stored while typing";
    QTest::keyClicks(serial(), QString(17, QLatin1Char('9')));
    EXPECT_EQ(serial()->text().size(), 20) << "the 21st character is refused";
    EXPECT_EQ(BeepCount(), 2);
    Leave(serial());
    EXPECT_EQ(rec().SerialNo(), "AB-1" + QString(16, QLatin1Char('9')));
    EXPECT_TRUE(rec().Change_SerialNo());
}

TEST_F(FieldEditing, PastedTextThatFailsTurnsRedAndKeepsTheFocus)
{
    ASSERT_TRUE(StartWith());
    for (const QString &bad : {QStringLiteral("ab"), QStringLiteral("ABCDEFGHIJKLMNOPQRSTU")}) {
        Enter(serial());
        Paste(serial(), bad);
        Leave(serial());
        EXPECT_TRUE(IsRed(serial())) << qPrintable(bad);
        EXPECT_TRUE(QTest::qWaitFor([&] { return serial()->hasFocus(); }, 1000)) << qPrintable(bad);
        EXPECT_EQ(rec().SerialNo().trimmed(), "AB-1234");
        EXPECT_FALSE(rec().Change_SerialNo());
    }
    Paste(serial(), "  XY-1");
    Leave(serial());
    EXPECT_FALSE(IsRed(serial()));
    EXPECT_TRUE(rec().SerialNo().startsWith("  XY-1")) << "leading blanks are allowed";
}

TEST_F(FieldEditing, LeavingAnUntouchedFieldStoresNothing)
{
    ASSERT_TRUE(StartWith());
    Enter(serial());
    Leave(serial());
    form->ClearInstrumentView(); // after a power-off the field is empty
    Enter(serial());
    Leave(serial());
    EXPECT_EQ(rec().SerialNo().trimmed(), "AB-1234");
    // Station and user ID fields never store.
    Enter(form->txtOption[1]);
    QTest::keyClicks(form->txtOption[1], "xyz!");
    Leave(form->txtOption[1]);
    EXPECT_FALSE(rec().AnyChangeFlag());
}

TEST_F(FieldEditing, LeadingBlankCounter)
{
    ASSERT_TRUE(StartWith());
    Enter(serial());
    serial()->selectAll();
    QTest::keyClicks(serial(), "   AB");
    EXPECT_EQ(form->lblSpaceCount->text(), "(Left space 3)");
    serial()->setText("    ");
    EXPECT_EQ(form->lblSpaceCount->text(), "(Left space 4)");
    serial()->setText("");
    EXPECT_EQ(form->lblSpaceCount->text(), "(Left space 0)");
    Leave(serial());
    EXPECT_TRUE(form->lblSpaceCount->text().isEmpty());
}

TEST_F(FieldEditing, SuffixMayNotLeaveTheFolder)
{
    ASSERT_TRUE(StartWith());
    QLineEdit *suffix = form->txtSuffix;
    for (const QString &bad : {QStringLiteral("../x"), QStringLiteral("a\\b"), QStringLiteral("c:d")}) {
        Enter(suffix);
        suffix->setText(bad);
        Leave(suffix);
        EXPECT_TRUE(IsRed(suffix)) << qPrintable(bad);
        EXPECT_TRUE(gFactorySuffix.isEmpty()) << qPrintable(bad);
    }
    suffix->setText("_lab 2");
    Leave(suffix);
    EXPECT_FALSE(IsRed(suffix));
    EXPECT_EQ(gFactorySuffix, "_lab 2");
}

} // namespace
