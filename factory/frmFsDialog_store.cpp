// Maintenance-data store and load (scrambled distribution files).
//
// The store writes what the grids show: the edit record with the grids of the chosen lists
// applied to a scratch copy, edits and imports included. The load takes from the file only
// the lines it holds and the instrument accepts, on top of what the dialog shows: lists the
// file does not hold keep their grids, edits included.
#include "core/Messages.h"
#include "factory/frmFsDialog.h"
#include "model/clsInstrument.h"
#include "platform/FlexGrid.h"
#include "platform/MsgBox.h"
#include "settingsfiles/SettingLines.h"
#include "settingsfiles/SettingsFile.h"
#include <QCheckBox>
#include <QPushButton>
#include <QSet>
#include <functional>

namespace {

const QString kEntry = QStringLiteral("Vantik Maintenance Data(*.vkx)|*.vkx|");

bool ticked(const QCheckBox *box) { return box->isChecked(); }

using SettingLines::Block;

} // namespace

void frmFsDialog::wireStoreCommands()
{
    connect(cmdStore, &QPushButton::clicked, this, [this] { cmdStore_Click(); });
    connect(cmdLoad, &QPushButton::clicked, this, [this] { cmdLoad_Click(); });
}

bool frmFsDialog::ShownRecord(clsInstrument &rec, QString &why)
{
    if (!m_edit)
        m_edit = std::make_unique<clsInstrument>();
    rec = *m_edit;
    if (ticked(chkAll))
        return ApplyAllGrids(rec, why);
    if (ticked(chkStation))
        GetStationGrid(rec);
    if (ticked(chkUser))
        GetUserGrid(rec);
    if (ticked(chkConvertion)) {
        GetPreConvNames(rec);
        GetUserConvNames(rec);
        GetPreConvAlarms(rec);
        GetUserConvAlarms(rec);
        if (!GetConvCount(rec, why)) // the only one of these that can refuse
            return false;
    }
    if (ticked(chkPID[0]) || ticked(chkPID[1]))
        GetPIDGrids(rec);
    return true;
}

void frmFsDialog::cmdStore_Click()
{
    // What is stored is what the grids show: an open editor is ended first.
    if (!EndOpenEdits())
        return;
    const bool all = ticked(chkAll);
    // Each list is judged as OK judges it; then what the file holds must come back from it as
    // itself wherever it is loaded, a value from the instrument that nobody touched included
    // (it never blocks OK, but a file would carry it to a dialog that judges it). notBack
    // names the first cell that would not ("" none).
    // A value the download could not read that nobody typed or loaded is refused as the
    // list's export refuses it, naming the cell and saying why (the file would pass it off
    // as the instrument's); what the lists leave, StoreConfig names by its line.
    const std::function<QString()> none;
    const struct {
        bool wanted;
        std::function<bool()> clean;
        const char *list;
        std::function<QString()> notBack;
        bool bare = false; // notBack and unread give the cell without its list
        std::function<UnreadCell()> unread = {};
    } checks[] = {
        {ticked(chkStation), [this] { return CheckStationGrid(); }, "Station List",
         [this] { return NamesNotComingBack(vfgStation); }, false, [this] { return UnreadNames(vfgStation); }},
        {ticked(chkUser), [this] { return CheckUserGrid(); }, "User List", [this] { return NamesNotComingBack(vfgUser); },
         false, [this] { return UnreadNames(vfgUser); }},
        {ticked(chkConvertion), [this] { return CheckPreConvGrid(); }, "Pre-Defined Conversion Table", none},
        {ticked(chkConvertion), [this] { return CheckUserConvGrid(); }, "User Defined Conversion Table",
         [this] { return ConvNotComingBack(); }, false, [this] { return UnreadConv(true); }},
        {ticked(chkPID[0]), [this] { return CheckPIDGrid(0); }, "PID Sensor (High Range) Settings",
         [this] { return PidNotComingBack(0); }, true, [this] { return UnreadPid(0); }},
        {ticked(chkPID[1]), [this] { return CheckPIDGrid(1); }, "PID Sensor (Low Range) Settings",
         [this] { return PidNotComingBack(1); }, true, [this] { return UnreadPid(1); }},
        // Every other setting goes with "All Data": its grids are judged as OK judges them.
        {all, [this] { return CheckChannelGrid(); }, "Channel GAS Mapping", none},
        {all, [this] { return CheckOtherSetGrid(); }, "Other Setting", none},
        {all, [this] { return CheckGasNameGrid(); }, "GAS Name && Ratio", [this] { return GasNamesNotComingBack(); }},
        {all, [this] { return CheckGasNameOtherGrid(); }, "Other Name", none},
        {all, [this] { return CheckDatasGrid(); }, "Parameter", none},
        {all, [this] { return CheckMEGrid(); }, "CAT DATA", none},
    };
    for (const auto &c : checks) {
        if (c.wanted && !c.clean()) {
            MsgBox(GetMsg(8056, QString::fromLatin1(c.list)), vb::OKOnly | vb::Critical, GetMsg(5001));
            return;
        }
    }
    auto named = [](const auto &c, const QString &cell) {
        return c.bare ? QString::fromLatin1(c.list) + QStringLiteral(": ") + cell : cell;
    };
    for (const auto &c : checks) {
        if (!c.wanted || !c.notBack)
            continue;
        if (const QString cell = c.notBack(); !cell.isEmpty()) {
            ShowImproperData(named(c, cell));
            return;
        }
    }
    for (const auto &c : checks) {
        if (!c.wanted || !c.unread)
            continue;
        if (const UnreadCell cell = c.unread(); !cell.where.isEmpty()) {
            ShowImproperData(named(c, cell.where), cell.reason);
            return;
        }
    }
    if (!ticked(chkStation) && !ticked(chkUser) && !ticked(chkConvertion) && !ticked(chkPID[0]) && !ticked(chkPID[1])) {
        MsgBox(QStringLiteral("No Selection Of The Distribution"), vb::OKOnly | vb::Information, GetMsg(5001));
        return;
    }
    clsInstrument shown;
    QString why;
    if (!ShownRecord(shown, why)) {
        MsgBox(GetMsg(8056, why), vb::OKOnly | vb::Critical, GetMsg(5001));
        return;
    }
    if (!ChooseFile(true, kEntry, QString(), fdlg::OverwritePrompt | fdlg::PathMustExist))
        return;
    Distribution blocks;
    blocks.user = ticked(chkUser);
    blocks.station = ticked(chkStation);
    blocks.conversion = ticked(chkConvertion);
    blocks.pidHigh = ticked(chkPID[0]);
    blocks.pidLow = ticked(chkPID[1]);
    blocks.all = all;
    const SettingsFileResult stored = StoreConfig(shown, cmddlg.FileName, true, blocks);
    if (!stored) {
        MsgBox(stored.error, vb::OKOnly | vb::Critical, GetMsg(5001));
        return;
    }
    MsgBox(QStringLiteral("Stored."), vb::OKOnly, GetMsg(5001));
}

void frmFsDialog::cmdLoad_Click()
{
    // The lists the file does not hold stay as shown, so an open editor is ended first.
    if (!EndOpenEdits())
        return;
    if (!ChooseFile(false, kEntry, QString(), fdlg::FileMustExist))
        return;
    if (!m_edit)
        m_edit = std::make_unique<clsInstrument>();
    // Read whole into a scratch record first: a bad file changes nothing.
    clsInstrument loaded(*m_edit);
    const SettingsFileResult read = LoadConfig(loaded, cmddlg.FileName, true);
    if (!read) {
        MsgBox(read.error, vb::OKOnly | vb::Critical, GetMsg(5001));
        return;
    }

    // The reader starts from a cleared record and flags what it sets: the flagged lines are
    // the file's. A line of a command group the instrument refuses is not taken (its values
    // would be shown but never sent).
    const QVector<SettingLines::Entry> &lines = SettingLines::entries();
    QSet<Block> held;
    for (const SettingLines::Entry &e : lines)
        if (e.code != QLatin1String("LS") && SettingLines::isChanged(loaded, e)
            && SettingLines::isSupported(*m_edit, e))
            held.insert(e.block);
    const bool pidHeld = held.contains(Block::PidLow) || held.contains(Block::PidHigh);

    // The lines taken go through the codec into a copy with no flag raised, then every
    // member they set that differs from the edit record is written: a file holding what
    // the dialog shows changes nothing and flags nothing.
    clsInstrument taken(*m_edit);
    taken.ClearChangeFlags();
    for (const SettingLines::Entry &e : lines) {
        const bool pidNames = e.code == QLatin1String("LS");
        if (pidNames ? !pidHeld : !held.contains(e.block))
            continue;
        if (!SettingLines::isChanged(loaded, e) || !SettingLines::isSupported(*m_edit, e))
            continue;
        const SettingLines::LineText text = SettingLines::lineText(loaded, e);
        const SettingLines::ParseResult parsed =
            text.ok ? SettingLines::parseLine(taken, text.text, SettingLines::Door::User) : SettingLines::ParseResult{};
        if (!text.ok || !parsed.ok()) {
            MsgBox(text.ok ? parsed.reason : text.error);
            return;
        }
    }
    clsInstrument result(*m_edit);
    using M = clsInstrument::M;
    for (int m = 0; m < int(M::Count); ++m) {
        const auto &mi = clsInstrument::info(M(m));
        const bool support = QByteArray(mi.name).toLower().startsWith("invalid");
        for (int i = 0; i < mi.count1; ++i)
            for (int j = 0; j < mi.count2; ++j) {
                // The support flags are the reader's: the instrument's, and what an older
                // file's short lines say it refuses.
                const QVariant v = support ? loaded.value(M(m), i, j) : taken.value(M(m), i, j);
                // A value the file gives for one the download could not read is given now,
                // also when it equals the cleared one the record holds.
                const bool given = result.isUnread(M(m), i, j) && !taken.isUnread(M(m), i, j);
                if (((support || taken.isChanged(M(m), i, j)) && v != result.value(M(m), i, j)) || given)
                    result.setValue(M(m), v, i, j);
            }
    }

    // Only the grids of what was taken are refilled; the others keep what they show.
    for (FlexGrid *g : allGrids())
        g->CancelEdit();
    const bool stations = held.contains(Block::StationList), users = held.contains(Block::UserList);
    if (stations != users) {
        // One fill serves both name lists: the one not loaded takes its grid's names first.
        stations ? GetUserGrid(result) : GetStationGrid(result);
    }
    *m_edit = result;
    if (held.contains(Block::Settings)) {
        SetSetUpGrid();
        SetFactoryGrid();
        SetOtherGrid();
    }
    if (stations || users)
        SetStationUserGrids();
    if (held.contains(Block::Settings)) {
        SetGasNameGrids();
        SetChannelGrid();
    }
    if (held.contains(Block::Conversion))
        SetConvGrids();
    if (held.contains(Block::Settings)) {
        SetMEGrid();
        SetOtherSetGrid();
    }
    if (pidHeld) {
        SetPIDGrid(0);
        SetPIDGrid(1);
    }
}

void frmFsDialog::SetAllGrids()
{
    SetSetUpGrid();
    SetFactoryGrid();
    SetOtherGrid();
    SetStationUserGrids();
    SetGasNameGrids();
    SetChannelGrid();
    SetConvGrids();
    SetMEGrid();
    SetOtherSetGrid();
    SetPIDGrid(0);
    SetPIDGrid(1);
}

bool frmFsDialog::ChooseFile(bool Save, const QString &Entry, const QString &FileName, int Flags)
{
    cmddlg.Filter = QStringLiteral("All files (*.*)|*.*|") + Entry;
    cmddlg.FilterIndex = 2;
    cmddlg.FileName = FileName;
    cmddlg.Flags = Flags;
    cmddlg.CancelError = true;
    if (!(Save ? cmddlg.ShowSave() : cmddlg.ShowOpen())) {
        MsgBox(cmddlg.ErrDescription(), vb::OKOnly, GetMsg(5001));
        return false;
    }
    return !cmddlg.FileName.isEmpty();
}
