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

// Names the instrument refused to read are said in red under the download (and the restore's
// read), and neither Update nor export writes their blanks; after a clean download they go.
TEST_F(MainUpload, NamesTheDownloadCouldNotReadAreSaidAndLeftAlone)
{
    ASSERT_TRUE(Start());
    sim->addRule({SimFault::Refuse, "XS", 'R', 3, 1});
    sim->addRule({SimFault::Refuse, "XZ", 'R', 3, 1});
    Download();
    const QString station = QStringLiteral("Station 3 (XS 03)"), refused = QStringLiteral(": the instrument refused to read it");
    const QStringList lines = LogLines();
    const qsizetype done = lines.indexOf(Line(5415));
    EXPECT_EQ(lines.mid(done + 1, 3), (QStringList{QString(), QStringLiteral("User 3 (XZ 03)") + refused, station + refused}));
    EXPECT_EQ(LogColor(station + refused), kRed);
    Confirm(form->cmdOption[0]);
    EXPECT_EQ(LogColor(station + QStringLiteral(" not sent: it could not be read from the instrument")), kRed);
    EXPECT_TRUE(Requests("XS,W,03,") == 0 && Requests("XZ,W,03,") == 0 && Requests("XS,W,04,") == 1);
    EXPECT_TRUE(sim->state().XS_(2) == QStringLiteral("STATION 003") && sim->state().XZ_(2) == QStringLiteral("USER 03"));
    dialogs.choose(file(QStringLiteral("site.seq")));
    Press(form->cmdExportSetting);
    EXPECT_EQ(boxes->prompts().last(), QStringLiteral("The settings cannot be written: User 3 (XZ 03), Station 3 (XS 03) could "
                                                      "not be read from the instrument; download again, or type them in "
                                                      "Detail Settings first"));
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("site.seq"))));

    Download();
    sim->clearRequests();
    Confirm(form->cmdOption[0]);
    EXPECT_TRUE(Requests("XS,W,03,STATION 003") == 1 && Requests("XZ,W,03,USER 03") == 1);
    sim->addRule({SimFault::Refuse, "XS", 'R', 3, 1});
    Confirm(form->cmdOption[4]);
    EXPECT_EQ(LogLines().count(station + refused), 2);
}

// The history says which cells a download could not read: in both Read rows (the save-only
// read's own record and the main one) and in the Write row of the Update that left them alone.
// A clean read writes values again.
TEST_F(MainUpload, HistorySaysWhatTheDownloadCouldNotRead)
{
    ASSERT_TRUE(Start());
    const auto refuseReads = [this] {
        sim->clearRules();
        sim->addRule({SimFault::Refuse, "XS", 'R', 3, 1});
        sim->addRule({SimFault::Refuse, "XZ", 'R', 3, 1});
        sim->addRule({SimFault::Refuse, "XP", 'R', 1, 1});
    };
    const QStringList checked = {"Station3", "User3", GetMsg(5609), GetMsg(5223), "Station4"};
    const auto lastRow = [&] {
        const QStringList rows = QString::fromLatin1(ReadFile(HistoryFilePath())).split("\r\n", Qt::SkipEmptyParts);
        const QStringList header = rows.first().split(','), row = rows.last().split(',');
        EXPECT_EQ(row.size(), kHistoryColumns);
        QStringList cells{row.first()};
        for (const QString &label : checked)
            cells << row.value(header.indexOf(label));
        return cells;
    };
    const QString notRead = QString::fromLatin1(kHistoryNotRead);
    const QStringList gaps = {notRead, notRead, notRead, notRead, "STATION 004"};

    refuseReads();
    form->chkSaveOnly->setChecked(true);
    Press(form->cmdDown[5]);
    EXPECT_EQ(lastRow(), QStringList{"Read"} + gaps);
    refuseReads();
    form->chkSaveOnly->setChecked(false);
    Press(form->cmdDown[5]);
    EXPECT_EQ(lastRow(), QStringList{"Read"} + gaps);
    sim->clearRules();
    Confirm(form->cmdOption[0]);
    EXPECT_EQ(lastRow(), QStringList{"Write"} + gaps);

    Press(form->cmdDown[5]);
    EXPECT_EQ(lastRow(), (QStringList{"Read", "STATION 003", "USER 03", "STATION 003", "60", "STATION 004"}));
    EXPECT_EQ(HistoryActions(), (QStringList{"Read", "Read", "Write", "Read"}));
}
