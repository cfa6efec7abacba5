// Station and user lists: fill, name checks, key filter, list-file import and export.
#include "core/Messages.h"
#include "core/modMain.h"
#include "factory/FsRulesNames.h"
#include "factory/ListFiles.h"
#include "factory/UnreadValues.h"
#include "factory/frmFsDialog.h"
#include "model/clsInstrument.h"
#include "platform/Controls.h"
#include "platform/FlexGrid.h"
#include "platform/MsgBox.h"
#include "platform/Twips.h"
#include <QPushButton>

namespace {

constexpr int kWhite = 16777215;
constexpr int kRed = 255;
constexpr int kNumberWidth = 400; // twips
const QString kListFilter = QStringLiteral("All files (*.*)|*.*|Comma separated (*.csv)|*.csv|");

// The name column takes the rest of the grid's width (and more when a name needs it).
void sizeNames(FlexGrid *g)
{
    g->setColWidth(0, kNumberWidth);
    g->setColWidth(1, qMax(0, WidthTwips(g) - kNumberWidth));
}

// given: the names as the instrument gave them. A name still as given is nobody's entry:
// it goes back as it came and is never marked, whatever it holds; one a load brought in
// is judged like a typed one.
void fillNames(FlexGrid *g, int n, const std::function<QString(int)> &name, const std::function<QString(int)> &given)
{
    g->setVisible(false);
    g->Clear();
    g->setFixedRows(0);
    g->setFixedCols(1);
    g->setCols(2);
    g->setRows(n);
    g->setColAlignment(1, FlexGrid::AlignLeftCenter);
    QFont font;
    CopyFont(font, gFont);
    g->setCell(FlexGrid::SetFont, 0, 0, n - 1, 1, font);
    g->setEditable(FlexGrid::EditKeyboardMouse);
    sizeNames(g);
    for (int r = 0; r < n; ++r) {
        g->setTextMatrix(r, 0, QString::number(r + 1));
        g->setTextMatrix(r, 1, name(r));
        if (FsNames::Refused(name(r), given(r)))
            g->setCell(FlexGrid::SetBackColor, r, 1, kRed);
    }
    g->Refresh();
    g->setVisible(true);
}

void paintName(FlexGrid *g, int r, const QString &given)
{
    g->setCell(FlexGrid::SetBackColor, r, 1, FsNames::Refused(g->TextMatrix(r, 1), given) ? kRed : kWhite);
}

QStringList namesOf(const FlexGrid *g)
{
    QStringList names;
    for (int r = 0; r < g->Rows(); ++r)
        names << g->TextMatrix(r, 1);
    return names;
}

} // namespace

void frmFsDialog::wireNamesTab()
{
    for (FlexGrid *g : {vfgStation, vfgUser}) {
        g->setSizeRule([g] { sizeNames(g); });
        connect(g, &FlexGrid::ChangeEdit, this, [this, g] { LeftSpaceChangeEdit(g, 1); });
        connect(g, &FlexGrid::Click, this, [this, g] { LeftSpaceClick(g, 1); });
        connect(g, &FlexGrid::RowColChange, this, [this, g] { LeftSpaceClick(g, 1); });
        connect(g, &FlexGrid::LeaveCell, this, [this] { LeftSpaceLeave(); });
    }
    connect(vfgStation, &FlexGrid::AfterEdit, this, &frmFsDialog::vfgStation_AfterEdit);
    connect(vfgStation, &FlexGrid::KeyPressEdit, this, &frmFsDialog::vfgStation_KeyPressEdit);
    connect(vfgUser, &FlexGrid::AfterEdit, this, &frmFsDialog::vfgUser_AfterEdit);
    connect(vfgUser, &FlexGrid::KeyPressEdit, this, &frmFsDialog::vfgUser_KeyPressEdit);
    connect(cmdStationImport, &QPushButton::clicked, this, [this] { cmdStationImport_Click(); });
    connect(cmdStationExport, &QPushButton::clicked, this, [this] { cmdStationExport_Click(); });
    connect(cmdUserImport, &QPushButton::clicked, this, [this] { cmdUserImport_Click(); });
    connect(cmdUserExport, &QPushButton::clicked, this, [this] { cmdUserExport_Click(); });
}

void frmFsDialog::SetStationUserGrids()
{
    const clsInstrument *rec = EditInstrument();
    const clsInstrument &given = InstrumentValues();
    fillNames(vfgStation, FsNames::kStations, [rec](int i) { return rec ? rec->XS_(i) : QString(); },
              [&given](int i) { return given.XS_(i); });
    fillNames(vfgUser, FsNames::kUsers, [rec](int i) { return rec ? rec->XZ_(i) : QString(); },
              [&given](int i) { return given.XZ_(i); });
}

QString frmFsDialog::GivenName(const FlexGrid *Grid, int Row) const
{
    return Grid == vfgUser ? InstrumentValues().XZ_(Row) : InstrumentValues().XS_(Row);
}

void frmFsDialog::vfgStation_AfterEdit(int Row, int Col)
{
    if (Col == 1)
        paintName(vfgStation, Row, GivenName(vfgStation, Row));
}

void frmFsDialog::vfgUser_AfterEdit(int Row, int Col)
{
    if (Col == 1)
        paintName(vfgUser, Row, GivenName(vfgUser, Row));
}

void frmFsDialog::vfgStation_KeyPressEdit(int, int, int &KeyAscii)
{
    KeyAscii = FsNames::FilterKey(KeyAscii, vfgStation->EditText());
    if (KeyAscii == 0)
        Beep();
}

void frmFsDialog::vfgUser_KeyPressEdit(int, int, int &KeyAscii)
{
    KeyAscii = FsNames::FilterKey(KeyAscii, vfgUser->EditText());
    if (KeyAscii == 0)
        Beep();
}

// ---- list files -----------------------------------------------------------------------------

QString frmFsDialog::AskListFile(bool Save, const QString &DefaultName)
{
    cmddlg.Filter = kListFilter;
    cmddlg.FilterIndex = 2;
    cmddlg.Flags = Save ? fdlg::OverwritePrompt | fdlg::PathMustExist : fdlg::FileMustExist;
    cmddlg.CancelError = true;
    if (!DefaultName.isEmpty())
        cmddlg.FileName = DefaultName;
    const bool chosen = Save ? cmddlg.ShowSave() : cmddlg.ShowOpen();
    if (!chosen) {
        if (cmddlg.ErrNumber() == fdlg::CancelErrorNumber)
            MsgBox(cmddlg.ErrDescription(), vb::OKOnly, GetMsg(5001));
        return QString();
    }
    return cmddlg.FileName;
}

void frmFsDialog::ShowImproperFile() { MsgBox(GetMsg(8075), vb::OKOnly | vb::Critical, GetMsg(5001)); }

void frmFsDialog::ShowImproperData(const QString &List, const QString &Reason)
{
    const QString text = GetMsg(8056, List);
    MsgBox(Reason.isEmpty() ? text : text + QStringLiteral("\r\n") + Reason, vb::OKOnly | vb::Critical, GetMsg(5001));
}

void frmFsDialog::ShowExportResult(const FileResult &Written)
{
    if (!Written)
        MsgBox(Written.error, vb::OKOnly | vb::Critical, GetMsg(5001));
    else
        MsgBox(QStringLiteral("Export Complete"), vb::OKOnly, GetMsg(5001));
}

namespace {

// Read whole, then fill: a file that fails changes no row and no flag. Every row the file
// holds is flagged, and a name the download could not read is given now.
void importNames(frmFsDialog &dlg, FlexGrid *g, int n, clsInstrument::M member, clsInstrument::F flag)
{
    const QString file = dlg.AskListFile(false, QString());
    if (file.isEmpty())
        return;
    const NameListFile::ReadResult read = NameListFile::Read(file, n);
    if (!read) {
        dlg.ShowImproperFile();
        return;
    }
    for (int r = 0; r < read.names.size(); ++r) {
        g->setTextMatrix(r, 1, read.names.at(r));
        if (clsInstrument *rec = dlg.EditInstrument()) {
            rec->setFlag(flag, true, r);
            TakeGiven(*rec, {member, r});
        }
    }
    for (int r = 0; r < n; ++r)
        paintName(g, r, dlg.GivenName(g, r));
    g->AutoSize(1);
    g->setColWidth(1, qMax(0, g->ColWidth(1) - 100));
}

void exportNames(frmFsDialog &dlg, FlexGrid *g, const QString &defaultName)
{
    if (const QString cell = dlg.NamesNotComingBack(g); !cell.isEmpty()) {
        dlg.ShowImproperData(cell);
        return;
    }
    if (const frmFsDialog::UnreadCell unread = dlg.UnreadNames(g); !unread.where.isEmpty()) {
        dlg.ShowImproperData(unread.where, unread.reason);
        return;
    }
    const QString file = dlg.AskListFile(true, defaultName);
    if (file.isEmpty())
        return;
    dlg.ShowExportResult(NameListFile::Write(file, namesOf(g)));
}

QString listOf(bool user) { return user ? QStringLiteral("User List") : QStringLiteral("Station List"); }

} // namespace

QString frmFsDialog::NamesNotComingBack(const FlexGrid *Grid) const
{
    // Every name must be one the import (and a load) takes back as itself, also one from
    // the instrument that nobody touched: the first that is not is named.
    const QStringList names = namesOf(Grid);
    for (int r = 0; r < names.size(); ++r)
        if (Grid->Cell(FlexGrid::SetBackColor, r, 1).toInt() == kRed || !FsNames::Acceptable(names.at(r))
            || !NameListFile::ReadsBack(names.at(r)))
            return QStringLiteral("%1, No. %2").arg(listOf(Grid == vfgUser)).arg(r + 1);
    return QString();
}

frmFsDialog::UnreadCell frmFsDialog::UnreadNames(const FlexGrid *Grid) const
{
    // A name the download could not read, shown as it was left, is nobody's: it goes nowhere.
    // The edit record holds the marks: a file that gave the name took its mark.
    const bool user = Grid == vfgUser;
    const clsInstrument::M member = user ? clsInstrument::M::XZ_ : clsInstrument::M::XS_;
    const clsInstrument &edit = EditValues();
    for (int r = 0; r < Grid->Rows(); ++r)
        if (edit.isUnread(member, r) && Grid->TextMatrix(r, 1) == edit.text(member, r))
            return {QStringLiteral("%1, No. %2").arg(listOf(user)).arg(r + 1),
                    UnreadReason({user ? QStringLiteral("XZ") : QStringLiteral("XS"), r})};
    return {};
}

void frmFsDialog::cmdStationImport_Click()
{
    importNames(*this, vfgStation, FsNames::kStations, clsInstrument::M::XS_, clsInstrument::F::Change_XS_);
}

void frmFsDialog::cmdUserImport_Click()
{
    importNames(*this, vfgUser, FsNames::kUsers, clsInstrument::M::XZ_, clsInstrument::F::Change_XZ_);
}

void frmFsDialog::cmdStationExport_Click()
{
    exportNames(*this, vfgStation, QStringLiteral("Station.csv"));
}

void frmFsDialog::cmdUserExport_Click()
{
    exportNames(*this, vfgUser, QStringLiteral("User.csv"));
}

// ---- apply ----------------------------------------------------------------------------------

void frmFsDialog::GetStationGrid(clsInstrument &rec) { FsNames::ApplyStations(rec, namesOf(vfgStation)); }

void frmFsDialog::GetUserGrid(clsInstrument &rec) { FsNames::ApplyUsers(rec, namesOf(vfgUser)); }
