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

// A name the instrument refused to read is said in red under the download, and no Update or
// export writes its blank for it; after a clean download it goes again. The restore's read
// says the same.
TEST_F(MainUpload, NamesTheDownloadCouldNotReadAreSaidAndLeftAlone)
{
    ASSERT_TRUE(Start());
    sim->addRule({SimFault::Refuse, "XS", 'R', 3, 1});
    sim->addRule({SimFault::Refuse, "XZ", 'R', 3, 1});
    Download();
    const QString user = QStringLiteral("User 3 (XZ 03)"), station = QStringLiteral("Station 3 (XS 03)");
    const QString refused = QStringLiteral(": the instrument refused to read it");
    const QStringList lines = LogLines();
    const qsizetype done = lines.indexOf(Line(5415));
    ASSERT_GE(done, 0) << lines.join('\n').toStdString();
    // Under the completion and its blank line, as the reasons stand under a failed one.
    EXPECT_EQ(lines.mid(done + 1, 3), (QStringList{QString(), user + refused, station + refused}));
    EXPECT_TRUE(LogColor(user + refused) == kRed && LogColor(station + refused) == kRed);

    form->rtbLog->clear();
    sim->clearRequests();
    Confirm(form->cmdOption[0]);
    const QString notSent = QStringLiteral(" not sent: it could not be read from the instrument");
    EXPECT_TRUE(LogColor(user + notSent) == kRed && LogColor(station + notSent) == kRed);
    EXPECT_EQ(LogColor(Text(Commands::kUploadFailed)), kRed);
    EXPECT_TRUE(Requests("XS,W,03,") == 0 && Requests("XZ,W,03,") == 0);
    EXPECT_TRUE(Requests("XS,W,04,") == 1 && Requests("XZ,W,04,") == 1) << "the rest goes";
    EXPECT_EQ(sim->state().XS_(2), QStringLiteral("STATION 003"));
    EXPECT_EQ(sim->state().XZ_(2), QStringLiteral("USER 03"));

    boxes->clear();
    dialogs.choose(file(QStringLiteral("site.seq")));
    Press(form->cmdExportSetting);
    ASSERT_EQ(boxes->calls().size(), 1);
    EXPECT_TRUE(boxes->calls()[0].prompt.contains(user + QStringLiteral(", ") + station + QStringLiteral(" could not be read")))
        << boxes->calls()[0].prompt.toStdString();
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("site.seq"))));

    // A clean download: nothing in red, and the names go with the next Update as read.
    sim->clearRules();
    form->rtbLog->clear();
    Download();
    EXPECT_EQ(LogColor(refused), -1);
    sim->clearRequests();
    Confirm(form->cmdOption[0]);
    EXPECT_TRUE(Requests("XS,W,03,STATION 003") == 1 && Requests("XZ,W,03,USER 03") == 1);
    EXPECT_EQ(LogColor(notSent), -1);

    sim->addRule({SimFault::Refuse, "XS", 'R', 3, 1});
    form->rtbLog->clear();
    boxes->clear();
    Confirm(form->cmdOption[4]);
    EXPECT_EQ(LogColor(station + refused), kRed);
    sim->clearRequests();
    Confirm(form->cmdOption[0]);
    EXPECT_EQ(Requests("XS,W,03,"), 0);
}
