// Maintenance-data store and load through the dialog: the selection, the scrambled file,
// and a load that changes the working copy and the grids only when the whole file is good.
#include "support/TestFiles.h"
#include "FsFixture.h"
#include "ScratchDir.h"
#include "core/Scrambler.h"
#include "settingsfiles/SettingsFile.h"
#include "support/FileSizeLimit.h"
#include "support/InstrumentDiff.h"
#include "factory/FsRulesSetup.h"
#include <QCheckBox>

namespace {

class Store : public FsFixture, protected ScratchDir {
protected:
    // The file's lines, unscrambled.
    QStringList Lines(const QString &name) const
    {
        QStringList out;
        gScramble = -1;
        for (const QByteArray &l : ReadTestFile(file(name)).split('\n'))
            if (!l.trimmed().isEmpty())
                out << DecodeText(QString::fromLatin1(l.trimmed()));
        gScramble = 0;
        return out;
    }
    bool StoreAs(const QString &name)
    {
        files->choose(file(name));
        boxes->clear();
        dlg->cmdStore_Click();
        return boxes->prompts() == QStringList{"Stored."};
    }
    void Load(const QString &name)
    {
        files->choose(file(name));
        boxes->clear();
        dlg->cmdLoad_Click();
    }
};

} // namespace

TEST_F(Store, SelectionDecidesTheBlocks)
{
    ASSERT_TRUE(Open());
    dlg->cmdStore_Click();
    EXPECT_EQ(boxes->prompts(), QStringList{"No Selection Of The Distribution"});
    EXPECT_EQ(boxes->calls().at(0).icon(), vb::Information);
    EXPECT_TRUE(files->calls().isEmpty());

    dlg->chkStation->setChecked(true);
    ASSERT_TRUE(StoreAs("stations.vkx"));
    EXPECT_EQ(files->calls().at(0).filterIndex, 2);   // the distribution files' own filter
    EXPECT_EQ(files->calls().at(0).flags, 2050);
    const QStringList lines = Lines("stations.vkx");
    ASSERT_EQ(lines.size(), 128);
    EXPECT_TRUE(lines.first().startsWith("XS,W,01,Station 1"));
    EXPECT_FALSE(ReadTestFile(file("stations.vkx")).contains("XS,W")) << "every line scrambled";

    // A red cell in a ticked list refuses; the same cell in an unticked list does not.
    dlg->vfgUser->setCell(FlexGrid::SetBackColor, 2, 1, 255);
    ASSERT_TRUE(StoreAs("again.vkx"));
    dlg->chkUser->setChecked(true);
    boxes->clear();
    dlg->cmdStore_Click();
    EXPECT_EQ(boxes->prompts(), QStringList{"Improper data found  ( User List )"});
    dlg->vfgUser->setCell(FlexGrid::SetBackColor, 2, 1, 16777215);

    dlg->chkAll->setChecked(true);
    ASSERT_TRUE(StoreAs("all.vkx"));
    const QStringList all = Lines("all.vkx");
    EXPECT_GT(all.size(), 300);
    EXPECT_TRUE(all.first().startsWith("XZ,W,01,User 1"));
    EXPECT_TRUE(all.filter(QRegularExpression("^(LS|LI|LJ|SG|LA),")).size() >= 17 * 4 + 35 + 1);

    // A store that cannot be written keeps the old file whole and says why.
    {
        ScopedFileSizeLimit limit(1024);
        EXPECT_FALSE(StoreAs("all.vkx"));
    }
    EXPECT_EQ(boxes->prompts().size(), 1);
    EXPECT_EQ(Lines("all.vkx"), all);
}

// The load takes only the lines the file holds and the instrument takes, over what is shown.
TEST_F(Store, StoreWritesWhatIsShownAndLoadKeepsWhatTheFileDoesNotHold)
{
    {
        clsInstrument::DeviceDoor door(rec());
        rec().setInvalidLJ(true);
    }
    ASSERT_TRUE(Open());
    ASSERT_TRUE(Edit(dlg->vfgStation, 1, 1, "EDITED ST"));
    dlg->chkStation->setChecked(true);
    dlg->chkPID[0]->setChecked(true);
    ASSERT_TRUE(StoreAs("shown.vkx"));
    EXPECT_TRUE(Lines("shown.vkx").contains(QStringLiteral("XS,W,02,EDITED ST       ,")));

    // A file with the stations and both PID ranges, other PID values than the grid shows.
    clsInstrument other(edit());
    other.setPIDWarn(0, 0, 77);
    other.setPIDWarn(0, 1, 15);
    Distribution blocks;
    blocks.station = blocks.pidHigh = blocks.pidLow = true;
    ASSERT_TRUE(StoreConfig(other, file("pid.vkx"), true, blocks));
    ASSERT_TRUE(Edit(dlg->vfgUser, 0, 1, "EDITED USER"));
    ASSERT_TRUE(Edit(dlg->vfgStation, 1, 1, "OTHER"));
    const QString highWarn = dlg->vfgPID[0]->TextMatrix(1, 7);
    Load("pid.vkx");
    EXPECT_TRUE(boxes->prompts().isEmpty()) << boxes->prompts().join("|").toStdString();
    EXPECT_EQ(dlg->vfgStation->TextMatrix(1, 1), "Station 2") << "the file's";
    EXPECT_EQ(dlg->vfgUser->TextMatrix(0, 1), "EDITED USER") << "not in the file: as shown";
    EXPECT_EQ(dlg->vfgPID[0]->TextMatrix(1, 7), highWarn) << "the refused range is not filled";
    EXPECT_TRUE(edit().invalidLJ()) << "the instrument's support flags stay";
    EXPECT_EQ(dlg->vfgPID[0]->Editable(), FlexGrid::EditNone);
    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed());
    EXPECT_EQ(rec().XS_(1), "Station 2");
    EXPECT_EQ(rec().PIDWarn(0, 1), 15.0f);
    EXPECT_EQ(Raised(rec()), QStringList({"Change_XZ_(0,0)", "Change_PIDSpec(0,1)"})) << "the edit and the file's low range";
}

TEST_F(Store, BadFilesChangeNothing)
{
    ASSERT_TRUE(Open());
    dlg->chkAll->setChecked(true);
    ASSERT_TRUE(StoreAs("all.vkx"));
    ASSERT_TRUE(Edit(dlg->vfgStation, 3, 1, "EDITED"));
    const QByteArray bytes = ReadTestFile(file("all.vkx"));
    const struct { const char *name; QByteArray content; } bad[] = {
        {"cut.vkx", bytes.left(bytes.size() / 2 + 3)},
        {"garbled.vkx", QByteArray(bytes).replace(40, 6, "\x01\x02\x03zz!")},
        {"foreign.vkx", "hello\r\nworld\r\n"},
        {"lacking.vkx", QByteArray(bytes).remove(0, bytes.indexOf('\n') + 1)}, // a user line fewer
    };
    for (const auto &b : bad) {
        WriteTestFile(file(b.name), b.content);
        Load(b.name);
        EXPECT_EQ(boxes->prompts().size(), 1) << b.name;
        EXPECT_EQ(dlg->vfgStation->TextMatrix(3, 1), "EDITED") << b.name;
        EXPECT_EQ(edit().XS_(0).trimmed(), "Station 1") << b.name;
    }
    files->cancel();
    boxes->clear();
    dlg->cmdLoad_Click();
    EXPECT_EQ(boxes->prompts(), QStringList{"Cancel was selected."});
    EXPECT_EQ(dlg->vfgStation->TextMatrix(3, 1), "EDITED");
}

// The whole file holds what every tab shows, edits included; a whole file stored from
// another record refills every tab, and OK brings the record to exactly that record.
TEST_F(Store, WholeFileCarriesEveryTabBothWays)
{
    ASSERT_TRUE(Open());
    ASSERT_TRUE(Edit(dlg->vfgME, 1, 1, "77"));
    dlg->chkAll->setChecked(true);
    ASSERT_TRUE(StoreAs("edited.vkx"));
    clsInstrument stored;
    ASSERT_TRUE(LoadConfig(stored, file("edited.vkx"), true));
    EXPECT_EQ(stored.HH_(0), 77);
    dlg->cmdCancel_Click();
    ASSERT_TRUE(Closed());

    {
        clsInstrument::DeviceDoor door(rec());
        rec().setBNuserLogoName(QStringLiteral("ACME GAS").leftJustified(20)); // as the instrument sends it
    }
    clsInstrument other = rec();
    {
        clsInstrument::DeviceDoor door(other);
        other.setAlarmSilence(rec().AlarmSilence() ? 0 : 1);
        other.setG1_(0, QStringLiteral("LOADED GAS"));
        other.setHH_(0, 99);
        other.setLB_longname(2, QStringLiteral("LOADED PRESET"));
        other.setPIDWarn(4, 0, 55);
        other.setXZ_(3, QStringLiteral("LOADED USER"));
    }
    ASSERT_TRUE(StoreConfig(other, file("other.vkx"), true, Distribution::everything()));
    ASSERT_TRUE(Open());
    Load("other.vkx");
    EXPECT_TRUE(boxes->prompts().isEmpty()) << boxes->prompts().join("|").toStdString();
    using namespace FsSetup;
    const struct { FlexGrid *grid; int row, col; QString shown; } cells[] = {
        {dlg->vfgDatas[ListSetUp], SetUpRow::Silence, 1, other.AlarmSilence() ? QStringLiteral("On") : QStringLiteral("Off")},
        {dlg->vfgGasName, 1, 2, QStringLiteral("LOADED GAS")},
        {dlg->vfgME, 1, 1, QStringLiteral("99")},
        {dlg->vfgPreConv, 3, 2, QStringLiteral("LOADED PRESET")},
        {dlg->vfgPID[0], 5, 7, QStringLiteral("55")},
        {dlg->vfgUser, 3, 1, QStringLiteral("LOADED USER")},
    };
    for (const auto &c : cells)
        EXPECT_EQ(c.grid->TextMatrix(c.row, c.col), c.shown) << c.grid->objectName().toStdString();
    dlg->cmdOK_Click();
    ASSERT_TRUE(Closed());
    EXPECT_EQ(DifferentMembers(rec(), other), "");
    EXPECT_EQ(Raised(rec()), QStringList({"Change_AlarmSilence(0,0)", "Change_XZ_(3,0)", "Change_HH_(0,0)",
                                          "Change_HH_(1,0)", "Change_G1_(0,0)", "Change_LB_(2,0)",
                                          "Change_PIDSpec(4,0)"}));
}

// ---- A whole session against the simulated instrument ---------------------------------------

#include "../mainwindow/MainFixture.h"
#include "factory/FsRulesSetup.h"
#include <QMap>
#include <QTimer>

using namespace FsSetup;

namespace {

class FsWholeSession : public MainFixture {};

// Every member of the record, as "name(i,j)" and its value.
QMap<QString, QString> Members(const clsInstrument &r)
{
    QMap<QString, QString> out;
    ForEachMemberEntry([&](clsInstrument::M m, int i, int j) {
        out.insert(QStringLiteral("%1(%2,%3)").arg(QLatin1String(clsInstrument::info(m).name)).arg(i).arg(j),
                   r.value(m, i, j).toString());
    });
    return out;
}

} // namespace

// One edit on every tab, OK, the settings write: the instrument holds exactly the edits.
TEST_F(FsWholeSession, EveryTabEditedReachesTheInstrumentAndNothingElse)
{
    frmFsDialog::Register();
    ASSERT_TRUE(StartAndRead());
    ASSERT_FALSE(gInstrument().AnyChangeFlag());
    const QMap<QString, QString> before = Members(sim->state());
    const clsInstrument &read = gInstrument();
    auto toggled = [](int on) { return on ? QStringLiteral("Off") : QStringLiteral("On"); };
    const int silence = read.AlarmSilence() != 0, demand = read.DemandZero() != 0, leak = read.LeakBeep() != 0;

    QStringList edited;
    QTimer::singleShot(0, [&] {
        frmFsDialog *d = frmFsDialog::Find();
        if (!d)
            return;
        auto step = [&](int tab, bool ok, const char *what) {
            d->SSTab1->setTab(tab);
            if (ok)
                edited << QString::fromLatin1(what);
        };
        step(0, FsFixture::Edit(d->vfgStation, 4, 1, "NEW STATION"), "station");
        d->SSTab1->setTab(1);
        step(1, FsFixture::Edit(d->vfgPreConv, 1, 5, "900"), "level");
        d->SSTab2->setTab(1);
        step(1, FsFixture::Edit(d->vfgUserConv, 1, 3, "1.10"), "conversion");
        d->SSTab1->setTab(2);
        FlexGrid *c = d->vfgChannel;
        c->setRow(4);
        c->setCol(3);
        c->SetFocus();
        QTest::keyClick(c->view(), Qt::Key_Space);
        step(2, FsFixture::Edit(d->vfgOtherSet, 1, 3, "2"), "zero suppress");
        d->SSTab1->setTab(3);
        step(3, FsFixture::Edit(d->vfgGasNameOther, 1, 3, "30000"), "ratio");
        d->SSTab1->setTab(4);
        step(4, FsFixture::Pick(d->vfgDatas[ListSetUp], SetUpRow::Silence, 1, toggled(silence)), "silence");
        d->SSTab4->setTab(ListFactory);
        step(4, FsFixture::Pick(d->vfgDatas[ListFactory], FactoryRow::DemandZero, 1, toggled(demand)), "demand");
        d->SSTab4->setTab(ListOther);
        step(4, FsFixture::Pick(d->vfgDatas[ListOther], OtherRow::LeakBuzzer, 1, toggled(leak)), "leak");
        step(4, FsFixture::Edit(d->vfgME, 1, 1, "123"), "me");
        d->SSTab1->setTab(5);
        step(5, FsFixture::Edit(d->vfgPID[0], 3, 7, "150"), "pid");
        d->cmdOK_Click();
        if (frmFsDialog::Find() == d && d->isVisible()) { // refused: end it, or the main window waits for ever
            edited << QStringLiteral("OK refused: ") + boxes->prompts().join(QLatin1Char('|'));
            d->cmdCancel_Click();
        }
    });
    Press(form->cmdFactorySetting);
    ASSERT_EQ(edited, QStringList({"station", "level", "conversion", "zero suppress", "ratio", "silence", "demand",
                                   "leak", "me", "pid"}));
    EXPECT_TRUE(boxes->prompts().isEmpty()) << boxes->prompts().join("|").toStdString();

    // The link's settings write sends by the flags, and only those commands.
    sim->clearRequests();
    ASSERT_TRUE(form->uclQL7150->SetInstrument(gInstrument()));
    QStringList writes;
    for (const QByteArray &r : sim->requests())
        if (r.mid(2, 3) == ",W,")
            writes << QString::fromLatin1(r.left(2));
    writes.sort();
    // XV (the selection) always goes; SB commits the option boards.
    EXPECT_EQ(writes, QStringList({"FL", "HH", "LA", "LJ", "LO", "SB", "SG", "UG", "US", "WB", "XA", "XS", "XV"}))
        << writes.join(" ").toStdString();
    // What the write sent is no longer flagged; the enables follow the channel map and the
    // write never looks at their flags.
    EXPECT_EQ(Raised(gInstrument()), QStringList({"Change_GasEnable(2,0)", "Change_GasEnable(3,0)"}));

    Download();
    QStringList changed;
    const QMap<QString, QString> after = Members(sim->state());
    for (auto it = after.begin(); it != after.end(); ++it)
        if (before.value(it.key()) != it.value())
            changed << it.key() + "=" + it.value();
    EXPECT_EQ(changed, QStringList({"AlarmSilence(0,0)=1", "DemandZero(0,0)=1", "FL_(1,0)=30000", "GasEnabled(2,0)=0",
                                    "HH_(0,0)=123", "LA_alarm(0,0)=900", "LO_fc(0,0)=110", "LeakBeep(0,0)=1",
                                    "PIDWarn(2,0)=150", "UG_(2,0)=0", "UG_(3,0)=12", "XS_(4,0)=NEW STATION",
                                    "ZeroForce(0,0)=2"}))
        << changed.join(" ").toStdString();
    EXPECT_EQ(gInstrument().PIDWarn(2, 0), 150.0f) << "read back";
}
