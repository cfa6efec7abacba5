// What an upload could not put into the instrument is said in the log pane, every time.
#include "MainFixture.h"

namespace {
class MainUpload : public MainFixture {};
} // namespace

TEST_F(MainUpload, EveryUploadNamesWhatItCouldNotSend)
{
    ASSERT_TRUE(StartAndRead());
    gInstrument().setXS_(3, QStringLiteral("ACME,NORTH")); // split at "," by another writer, joined on load
    sim->addRule({SimFault::Refuse, "XP", 'W', 1, 1});
    Confirm(form->cmdOption[0]);
    const QString notSent = QStringLiteral("Station 4 (XS 04) not sent: \"ACME,NORTH");
    auto lineWith = [this](const QString &start) {
        for (const QString &l : LogLines())
            if (l.startsWith(start))
                return l;
        return QString();
    };
    EXPECT_TRUE(lineWith(notSent).contains(QStringLiteral("\",\""))) << LogLines().join('\n').toStdString();
    EXPECT_EQ(LogColor(notSent), kRed);
    EXPECT_EQ(LogColor(QStringLiteral("Interval Trend Time (XP) refused by the instrument")), kRed);
    EXPECT_EQ(LogColor(Text(Commands::kUploadFailed)), kRed);

    // The refusal is over; the name still cannot go, and the pane says so again.
    form->rtbLog->clear();
    Confirm(form->cmdOption[0]);
    EXPECT_EQ(LogColor(notSent), kRed);
    EXPECT_EQ(LogColor(QStringLiteral("Interval Trend Time (XP) refused by the instrument")), -1);
    EXPECT_EQ(LogColor(Text(Commands::kUploadFailed)), kRed);
    EXPECT_EQ(Requests("XS,W,04,"), 0);
}
