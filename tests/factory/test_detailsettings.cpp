// The main window's "Detail Settings" command end to end against the simulated instrument:
// the dialog opens on the record just read, edits and OK, the upload from the main window,
// and the instrument then holds the edits and nothing else.
#include "../mainwindow/MainFixture.h"
#include "FsFixture.h"
#include "factory/FsRulesConversion.h"
#include "factory/FsRulesGasNames.h"
#include "factory/FsRulesOther.h"
#include "factory/FsRulesPID.h"
#include "factory/ListFiles.h"
#include "factory/ListFilesPid.h"
#include "factory/frmFsDialog.h"
#include "platform/Tabs.h"
#include "settingsfiles/SettingLines.h"
#include "settingsfiles/SettingsFile.h"
#include "settingsfiles/SettingTable.h"
#include "support/InstrumentDiff.h"
#include <QTimer>
#include <set>

namespace {

class DetailSettings : public MainFixture {};

} // namespace

TEST_F(DetailSettings, EditsMadeInTheDialogReachTheInstrumentAndNothingElse)
{
    frmFsDialog::Register();
    ASSERT_TRUE(StartAndRead());
    const int station = gInstrument().XV_(0) - 1; // the selected one: its row in the list
    ASSERT_TRUE(station >= 0 && station < 128);
    clsInstrument expected = sim->state();
    ASSERT_NE(expected.ZeroForce(0), 2);
    const QString newName = QStringLiteral("NORTH GATE");

    bool opened = false;
    QStringList edited;
    QTimer::singleShot(0, form, [&] {
        frmFsDialog *d = frmFsDialog::Find();
        if (!d || !d->isVisible())
            return;
        // Opened on the record just read.
        opened = d->Instrument() == &gInstrument() &&
                 d->vfgStation->TextMatrix(station, 1).trimmed() == gInstrument().XS_(station).trimmed() &&
                 d->vfgOtherSet->TextMatrix(1, 3).toInt() == gInstrument().ZeroForce(0);
        d->SSTab1->setTab(0);
        if (FsFixture::Edit(d->vfgStation, station, 1, newName))
            edited << QStringLiteral("station");
        d->SSTab1->setTab(2);
        if (FsFixture::Edit(d->vfgOtherSet, 1, 3, QStringLiteral("2")))
            edited << QStringLiteral("zero suppress");
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
    });
    Press(form->cmdFactorySetting);
    ASSERT_TRUE(opened);
    ASSERT_EQ(edited, (QStringList{QStringLiteral("station"), QStringLiteral("zero suppress")}));
    EXPECT_TRUE(boxes->prompts().isEmpty()) << boxes->prompts().join(QLatin1Char('|')).toStdString();
    // The main window shows the record as OK left it.
    EXPECT_EQ(form->cmbStation->currentText().trimmed(), newName);
    EXPECT_EQ(form->txtOption[1]->text().trimmed(), newName);

    Confirm(form->cmdOption[0]);
    EXPECT_EQ(boxes->prompts(), (QStringList{GetMsg(5309), GetMsg(5311)}));
    {
        clsInstrument::DeviceDoor door(expected);
        expected.setXS_(station, newName);
        expected.setZeroForce(0, 2);
    }
    EXPECT_EQ(DifferentMembers(expected, sim->state()), "");
}

// The catalytic list follows the firmware of the instrument just read, each time the dialog
// opens: not the list set at start-up, nor the one of the instrument read before.
TEST_F(DetailSettings, CatalyticListFollowsTheFirmwareReadEachTime)
{
    frmFsDialog::Register();
    ASSERT_TRUE(Start());
    const QStringList shortList{"CH4", "H2", "PRO", "IBU", "HEX"};
    const QStringList longList = shortList + QStringList{"PEN"};
    // 70000 does not fit 16 bits: it keeps its side of the line.
    const std::pair<int, QStringList> cases[] = {
        {4770, longList}, {4769, shortList}, {70000, longList}, {123, shortList}};
    for (const auto &[rom, names] : cases) {
        {
            clsInstrument::DeviceDoor door(sim->state());
            sim->state().setRomNumber(rom);
        }
        Download();
        ASSERT_EQ(gInstrument().RomNumber(), rom);
        QStringList offered;
        QString other;
        QTimer::singleShot(0, form, [&] {
            frmFsDialog *d = frmFsDialog::Find();
            if (!d || !d->isVisible())
                return;
            d->SSTab1->setTab(3);
            if (FsFixture::OpenCell(d->vfgGasName, FsGasNames::kCatRow, FsGasNames::ColName))
                if (auto *combo = qobject_cast<QComboBox *>(d->vfgGasName->Editor()))
                    for (int i = 0; i < combo->count(); ++i)
                        offered << combo->itemText(i);
            d->vfgGasName->CancelEdit();
            other = d->vfgGasNameOther->TextMatrix(FsGasNames::kCatRow, FsGasNames::ColName);
            QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
        });
        Press(form->cmdFactorySetting);
        EXPECT_EQ(offered, names + QStringList{other}) << "ROM " << rom;
    }
}

// Names the instrument holds with blanks in front, read by the main window: its lists and the
// dialog show them as held ("(Left space 3)"), and OK and an upload with nothing touched write
// back the very lines the instrument holds.
TEST_F(DetailSettings, NamesWithLeadingBlanksGoBackUntouchedAsTheyCame)
{
    using M = clsInstrument::M;
    const struct {
        M member;
        int i;
        const char *name;
    } names[] = {
        {M::XS_, 2, "   LEAD"},
        {M::XZ_, 0, "  BOB"},
        {M::LO_longname, 1, "  GAS"},
        {M::LO_name, 1, " G"},
        {M::LB_longname, 3, "   PRESET"},
        {M::LB_name, 3, " P"},
        {M::PIDLongName, 2, "  PID GAS"},
        {M::PIDName, 2, " Pd"},
        {M::CATOther, 0, " CH"},
        {M::TCOther, 0, " TC"},
        {M::GasName, 5, "  S"},
        {M::G1_, 1, "  OTHER GAS"},
        {M::G1_, 5, " THERMAL"},
        {M::BNuserLogoName, 0, "   LOGO"},
    };
    frmFsDialog::Register();
    clsInstrument held = sim->state();
    {
        clsInstrument::DeviceDoor door(held);
        for (const auto &n : names)
            held.setText(n.member, QString::fromLatin1(n.name), n.i);
    }
    // Each name member of a line the link writes has its case here.
    using SettingLines::detail::Enc;
    std::set<M> members;
    for (const SettingLines::detail::Def &d : SettingLines::detail::allDefs())
        for (const SettingLines::detail::Field &f : d.fields(0))
            if (d.linkWrites && (f.enc == Enc::Text || f.enc == Enc::TextUpper || f.enc == Enc::TextKeep))
                members.insert(f.m);
    for (const auto &n : names)
        members.erase(n.member);
    for (M m : members)
        ADD_FAILURE() << "no case for " << clsInstrument::info(m).name;

    // The lines that carry them, as the instrument takes them from the line.
    QList<QByteArray> lines;
    for (const SettingLines::Entry &e : SettingLines::entries()) {
        const QString line = SettingLines::lineText(held, e).text;
        if (SettingLines::linkWrites(e) && line != SettingLines::lineText(sim->state(), e).text)
            lines << line.toLatin1();
    }
    QString why;
    ASSERT_TRUE(sim->holdWrites(lines, &why)) << why.toStdString();
    for (const auto &n : names)
        ASSERT_TRUE(sim->state().text(n.member, n.i).startsWith(QLatin1String(n.name))) << n.name;
    const clsInstrument before = sim->state();

    ASSERT_TRUE(StartAndRead());
    EXPECT_EQ(form->cmbStation->itemText(2), QStringLiteral("   LEAD"));
    EXPECT_EQ(form->cmbUser->itemText(0), QStringLiteral("  BOB"));

    QStringList shown, labels;
    bool closed = false;
    QTimer::singleShot(0, form, [&] {
        frmFsDialog *d = frmFsDialog::Find();
        if (!d || !d->isVisible())
            return;
        // Each name in a cell of its own, as held (the logo name as the instrument pads it).
        for (const auto &n : names) {
            const QString name = QString::fromLatin1(n.name);
            for (FlexGrid *g : d->findChildren<FlexGrid *>())
                for (int r = 0; r < g->Rows(); ++r)
                    for (int c = 0; c < g->Cols(); ++c) {
                        const QString text = g->TextMatrix(r, c);
                        const bool padded = text.startsWith(name) && text.mid(name.size()).trimmed().isEmpty();
                        if ((text == name || (n.member == M::BNuserLogoName && padded)) && !shown.contains(name))
                            shown << name;
                    }
        }
        d->SSTab1->setTab(0);
        for (const auto &[grid, row] : {std::pair{d->vfgStation, 2}, std::pair{d->vfgUser, 0}}) {
            QTableView *view = grid->view();
            const QModelIndex at = view->model()->index(row, 1);
            view->scrollTo(at);
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(at).center());
            labels << d->lblSpaceCount->text();
        }
        QTest::mouseClick(d->cmdOK, Qt::LeftButton);
        closed = !d->isVisible();
        if (!closed)
            QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
    });
    Press(form->cmdFactorySetting);
    ASSERT_TRUE(closed) << boxes->prompts().join(QLatin1Char('|')).toStdString();
    QStringList all;
    for (const auto &n : names)
        all << QString::fromLatin1(n.name);
    EXPECT_EQ(shown, all);
    EXPECT_EQ(labels, (QStringList{QStringLiteral("(Left space 3)"), QStringLiteral("(Left space 2)")}));
    EXPECT_EQ(form->cmbStation->itemText(2), QStringLiteral("   LEAD"));

    Confirm(form->cmdOption[0]);
    EXPECT_EQ(boxes->prompts(), (QStringList{GetMsg(5309), GetMsg(5311)}));
    ASSERT_TRUE(lines.contains("XS,W,03,   LEAD         ,"));
    for (const QByteArray &line : lines)
        EXPECT_TRUE(sim->requests().contains(line)) << line.toStdString();
    EXPECT_EQ(DifferentMembers(before, sim->state()), "");
}

// A PID channel's range can be switched right after a download: its name comes back padded
// to the width of its line ("PD "), the PID table's as held ("PD"); only that padding is
// overlooked. A blank in front is part of the name.
TEST_F(DetailSettings, PidRangeSwitchesOnANameAsTheInstrumentPadsIt)
{
    frmFsDialog::Register();
    ASSERT_TRUE(Start());
    const struct {
        const char *pidName;
        const char *channelName;
        bool switchable;
    } cases[] = {{"PD", "PD", true}, {" P", " P", true}, {"PD", " PD", false}};
    constexpr int ch = 5, entry = 3, row = ch + 1;
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.channelName << '"');
        {
            clsInstrument::DeviceDoor door(sim->state());
            sim->state().setGasType(ch, SensorType::Pid);
            sim->state().setPIDName(entry, QString::fromLatin1(c.pidName));
            sim->state().setGasName(ch, QString::fromLatin1(c.channelName));
            sim->state().setPIDSmallRange(ch, 0);
        }
        Download();
        ASSERT_EQ(gInstrument().GasName(ch), QString::fromLatin1(c.channelName).leftJustified(3));
        int shown = -1, after = -1;
        bool closed = false;
        QTimer::singleShot(0, form, [&] {
            frmFsDialog *d = frmFsDialog::Find();
            if (!d || !d->isVisible())
                return;
            d->SSTab1->setTab(2);
            FlexGrid *o = d->vfgOtherSet;
            shown = o->Cell(FlexGrid::SetChecked, row, FsOther::ColPidHigh).toInt();
            o->setRow(row);
            o->setCol(FsOther::ColPidHigh);
            o->SetFocus();
            QTest::keyClick(o->view(), Qt::Key_Space);
            after = o->Cell(FlexGrid::SetChecked, row, FsOther::ColPidHigh).toInt();
            QTest::mouseClick(d->cmdOK, Qt::LeftButton);
            closed = !d->isVisible();
            if (!closed)
                QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
        });
        Press(form->cmdFactorySetting);
        EXPECT_EQ(shown, FlexGrid::Checked);
        EXPECT_EQ(after, c.switchable ? FlexGrid::Unchecked : FlexGrid::Checked);
        ASSERT_TRUE(closed) << boxes->prompts().join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(gInstrument().PIDSmallRange(ch), c.switchable ? 1 : 0);
        if (!c.switchable)
            continue;
        EXPECT_EQ(gInstrument().GasFullScale(ch), sim->state().PIDFullScale(entry, 1));
        boxes->clear();
        Confirm(form->cmdOption[0]);
        EXPECT_EQ(boxes->prompts(), (QStringList{GetMsg(5309), GetMsg(5311)}));
        EXPECT_EQ(sim->state().PIDSmallRange(ch), 1);
        EXPECT_EQ(sim->state().GasName(ch).leftJustified(3), QString::fromLatin1(c.channelName).leftJustified(3));
    }
}

// A line the download could not read, given in the dialog: by a maintenance-data load or a
// list import whose value equals the cleared one the record holds (a blank name, a count of
// 0), or by a number typed. Its mark goes, OK takes it back and the upload sends it, as
// after the main window's settings import.
TEST_F(DetailSettings, ValueGivenForAnUnreadLineIsSentEvenWhenItEqualsTheClearedOne)
{
    using M = clsInstrument::M;
    frmFsDialog::Register();
    ASSERT_TRUE(Start());
    const QString path = file(QStringLiteral("given"));
    // Files written from the record as the download left it, the unread value as it was left.
    auto vkx = [&path](void (*choose)(Distribution &)) {
        return [&path, choose] {
            clsInstrument given = gInstrument();
            for (const SettingLines::Entry &e : SettingLines::entries())
                if (SettingLines::isUnread(given, e))
                    SettingLines::parseLine(given, SettingLines::lineText(given, e).text, SettingLines::Door::User);
            Distribution blocks;
            choose(blocks);
            return bool(StoreConfig(given, path, true, blocks));
        };
    };
    auto names = [&path](M m, int n) {
        return [&path, m, n] {
            QStringList list;
            for (int i = 0; i < n; ++i)
                list << gInstrument().text(m, i);
            return bool(NameListFile::Write(path, list));
        };
    };
    auto conversion = [&path] {
        QVector<ConversionListFile::Row> rows[2];
        for (bool user : {true, false})
            for (int i = 0; i < (user ? FsConv::kUserRows : FsConv::kPreRows); ++i) {
                const FsConv::RowTexts t = FsConv::RecordRow(gInstrument(), user, i);
                ConversionListFile::Row row;
                std::copy(t.begin() + 1, t.end(), row.begin());
                rows[user ? 0 : 1] << row;
            }
        return bool(ConversionListFile::Write(path, rows[0], rows[1]));
    };
    auto pidLow = [&path] {
        QVector<QStringList> rows;
        for (int e = 0; e < FsPid::kEntries; ++e)
            rows << FsPid::RowTexts(gInstrument(), e, 1).mid(1);
        return bool(PidListFile::Write(path, rows));
    };
    auto click = [](QPushButton *(*button)(frmFsDialog *)) {
        return [button](frmFsDialog *d) { QTest::mouseClick(button(d), Qt::LeftButton); };
    };
    const struct {
        const char *what;
        SimFaultRule refused; // the read the instrument refuses
        M member;
        int i, j;
        std::function<bool()> write; // the file the technician chooses
        std::function<void(frmFsDialog *)> give;
        SettingLines::Entry line;
        QVariant typed = {}; // the value typed; none: the file's, equal to the cleared one
    } cases[] = {
        {"load, blank station", {SimFault::Refuse, "XS", 'R', 3}, M::XS_, 2, 0,
         vkx([](Distribution &b) { b.station = true; }), click([](frmFsDialog *d) { return d->cmdLoad; }), {"XS", 2}},
        {"load, count 0", {SimFault::Refuse, "LN", 'R'}, M::LN_, 0, 0,
         vkx([](Distribution &b) { b.conversion = true; }), click([](frmFsDialog *d) { return d->cmdLoad; }), {"LN", -1}},
        {"Station.csv", {SimFault::Refuse, "XS", 'R', 3}, M::XS_, 2, 0, names(M::XS_, 128),
         click([](frmFsDialog *d) { return d->cmdStationImport; }), {"XS", 2}},
        {"User.csv", {SimFault::Refuse, "XZ", 'R', 5}, M::XZ_, 4, 0, names(M::XZ_, 32),
         click([](frmFsDialog *d) { return d->cmdUserImport; }), {"XZ", 4}},
        {"Conversion.csv", {SimFault::Refuse, "LO", 'R', 2}, M::LO_name, 1, 0, conversion,
         click([](frmFsDialog *d) { return d->cmdConvImport; }), {"LO", 1}},
        {"PID_Low.csv", {SimFault::Refuse, "LS", 'R', 3}, M::PIDLongName, 2, 0, pidLow,
         click([](frmFsDialog *d) { return d->cmdPIDImport[1]; }), {"LS", 2}},
        {"typed count", {SimFault::Refuse, "LN", 'R'}, M::LN_, 0, 0, [] { return true; },
         [](frmFsDialog *d) {
             d->SSTab1->setTab(1);
             d->txtCount->setFocus();
             d->txtCount->selectAll();
             QTest::keyClicks(d->txtCount, QStringLiteral("7"));
         },
         {"LN", -1}, 7},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        sim->addRule(c.refused);
        Download();
        ASSERT_TRUE(gInstrument().isUnread(c.member, c.i, c.j));
        const QVariant cleared = gInstrument().value(c.member, c.i, c.j);
        ASSERT_TRUE(c.write());
        bool closed = false;
        QTimer::singleShot(0, form, [&] {
            frmFsDialog *d = frmFsDialog::Find();
            if (!d || !d->isVisible())
                return;
            dialogs.choose(path);
            c.give(d);
            QTest::mouseClick(d->cmdOK, Qt::LeftButton);
            closed = !d->isVisible();
            if (!closed)
                QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
        });
        boxes->clear();
        Press(form->cmdFactorySetting);
        ASSERT_TRUE(closed) << boxes->prompts().join(QLatin1Char('|')).toStdString();
        EXPECT_FALSE(gInstrument().isUnread(c.member, c.i, c.j));
        EXPECT_EQ(gInstrument().value(c.member, c.i, c.j), c.typed.isValid() ? c.typed : cleared);
        sim->clearRequests();
        Confirm(form->cmdOption[0]);
        EXPECT_EQ(boxes->prompts(), (QStringList{GetMsg(5309), GetMsg(5311)}));
        EXPECT_EQ(Requests(SettingLines::lineText(gInstrument(), c.line).text.toLatin1()), 1);
    }
    EXPECT_EQ(sim->state().LN_(), 7);
}
