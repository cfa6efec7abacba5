// PID sensor tables of the high and low range and their list files.
#include "core/modMain.h"
#include "factory/FsRulesPID.h"
#include "factory/ListFilesPid.h"
#include "factory/frmFsDialog.h"
#include "model/clsInstrument.h"
#include "platform/Controls.h"
#include "platform/FlexGrid.h"
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr int kRed = 255;
const QString kCsvEntry = QStringLiteral("Comma separated (*.csv)|*.csv|");
constexpr int kWhite = 16777215;

const int kWidths[FsPid::kCols] = {340, 600, 2700, 800, 650, 650, 500, 705, 705, 705, 705, 705, 100};
const char *const kHeaders[FsPid::kCols] = {"No",  "Name", "Long Name", "FullScale", "Point", "Unit", "Digit",
                                            "1st", "2nd",  "STEL",      "TWA",       "AutoCal", "Factor"};

FsPid::Texts gridTexts(const FlexGrid *g)
{
    FsPid::Texts t(FsPid::kRows);
    for (int r = 0; r < FsPid::kRows; ++r)
        for (int c = 0; c < FsPid::kCols; ++c)
            t[r] << g->TextMatrix(r, c);
    return t;
}

QStringList rowTexts(const FlexGrid *g, int row)
{
    QStringList t;
    for (int c = 0; c < FsPid::kCols; ++c)
        t << g->TextMatrix(row, c);
    return t;
}

} // namespace

void frmFsDialog::wirePidTab()
{
    for (int i = 0; i < 2; ++i) {
        FlexGrid *g = vfgPID[i];
        connect(g, &FlexGrid::BeforeEdit, this, [this, i](int r, int c, bool &cancel) { vfgPID_BeforeEdit(i, r, c, cancel); });
        connect(g, &FlexGrid::KeyPressEdit, this, [this, i](int r, int c, int &key) { vfgPID_KeyPressEdit(i, r, c, key); });
        connect(g, &FlexGrid::ValidateEdit, this, [this, i](int r, int c, bool &cancel) { vfgPID_ValidateEdit(i, r, c, cancel); });
        connect(g, &FlexGrid::AfterEdit, this, [this, i](int r, int c) { vfgPID_AfterEdit(i, r, c); });
        connect(g, &FlexGrid::ChangeEdit, this, [this, g] { LeftSpaceChangeEdit(g, 2); });
        connect(g, &FlexGrid::Click, this, [this, g] { LeftSpaceClick(g, 2); });
        connect(g, &FlexGrid::RowColChange, this, [this, g] { LeftSpaceClick(g, 2); });
        connect(g, &FlexGrid::LeaveCell, this, [this] { LeftSpaceLeave(); });
        connect(cmdPIDExport[i], &QPushButton::clicked, this, [this, i] { cmdPIDExport_Click(i); });
        connect(cmdPIDImport[i], &QPushButton::clicked, this, [this, i] { cmdPIDImport_Click(i); });
    }
}

void frmFsDialog::SetPIDGrid(int Index)
{
    FlexGrid *g = vfgPID[Index];
    const clsInstrument &rec = *m_edit;
    const int grey = vfgOtherSet->GreyColor();
    g->Clear();
    g->setCols(FsPid::kCols);
    g->setRows(FsPid::kRows);
    QFont font;
    CopyFont(font, gFont);
    g->setCell(FlexGrid::SetFont, 0, 0, FsPid::kRows - 1, FsPid::kCols - 2, font);
    g->setEditable(rec.invalidLJ() ? FlexGrid::EditNone : FlexGrid::EditKeyboardMouse);
    g->setCell(FlexGrid::SetAlignment, 1, 1, FsPid::kRows - 1, 2, int(FlexGrid::AlignLeftCenter));
    for (int c = 0; c < FsPid::kCols; ++c) {
        g->setColWidth(c, kWidths[c]);
        g->setTextMatrix(0, c, QString::fromLatin1(kHeaders[c]));
    }
    for (int e = 0; e < FsPid::kEntries; ++e) {
        const QStringList row = FsPid::RowTexts(rec, e, Index);
        for (int c = 0; c < FsPid::kCols; ++c)
            g->setTextMatrix(e + 1, c, row.at(c));
    }
    for (int r = 1; r < FsPid::kRows; ++r)
        for (int c = 1; c < FsPid::kCols; ++c)
            if (FsPid::IsLocked(r, c))
                g->setCell(FlexGrid::SetBackColor, r, c, grey);
    // The instrument's own values are shown as they are; what a loaded file brought is
    // judged as an edit would be.
    MarkPIDCells(Index);
}

void frmFsDialog::vfgPID_BeforeEdit(int Index, int Row, int Col, bool &Cancel)
{
    FlexGrid *g = vfgPID[Index];
    g->setRow(Row);
    g->setCol(Col);
    Cancel = g->CellBackColor() == vfgOtherSet->GreyColor() || Row == 0 || Col == 0;
    if (!FsPid::ColumnTaken(*m_edit, Col))
        Cancel = true;
    switch (Col) {
    case FsPid::ColFullScale:
        // Typed full scales are judged by ValidateEdit against the range's table.
        g->setComboList(QLatin1Char('|') + FsPid::FullScaleList(Index));
        break;
    case FsPid::ColPoint:
        g->setComboList(QStringLiteral("1/1|1/10|1/100|1/1000"));
        break;
    case FsPid::ColUnit:
        g->setComboList(QStringLiteral("vol%|%LEL|ppm|ppb"));
        break;
    default:
        g->setComboList(QString());
    }
}

void frmFsDialog::vfgPID_KeyPressEdit(int Index, int Row, int Col, int &KeyAscii)
{
    const int key = FsPid::FilterKey(Row, Col, KeyAscii, TypedLength(vfgPID[Index]));
    if (key == 0 && KeyAscii != 0)
        Beep();
    KeyAscii = key;
}

void frmFsDialog::vfgPID_ValidateEdit(int Index, int Row, int Col, bool &Cancel)
{
    FlexGrid *g = vfgPID[Index];
    const FsPid::CellEdit e = FsPid::ValidateCell(Index, Row, Col, g->EditText(), rowTexts(g, Row));
    if (e.text != g->EditText())
        g->setEditText(e.text);
    Cancel = !e.accept;
    if (e.factorText) {
        g->setTextMatrix(Row, FsPid::ColFactor, *e.factorText);
        g->setCell(FlexGrid::SetBackColor, Row, FsPid::ColFactor, kWhite);
    }
    if (e.paint != FsPid::CellEdit::Paint::None)
        g->setCell(FlexGrid::SetBackColor, Row, Col, e.paint == FsPid::CellEdit::Paint::Red ? kRed : kWhite);
}

void frmFsDialog::vfgPID_AfterEdit(int Index, int Row, int Col)
{
    FlexGrid *g = vfgPID[Index];
    if (Col == FsPid::ColName || Col == FsPid::ColLongName) {
        // Both ranges share one name and long name per entry.
        vfgPID[1 - Index]->setTextMatrix(Row, Col, g->TextMatrix(Row, Col));
    } else if (Col == FsPid::ColFullScale) {
        if (const auto pd = FsPid::PointDigitFor(Index, g->TextMatrix(Row, Col))) {
            g->setTextMatrix(Row, FsPid::ColPoint, pd->point);
            g->setTextMatrix(Row, FsPid::ColDigit, pd->digit);
        }
    }
    // A new full scale puts the row's points under a new range: the grids are judged again.
    MarkPIDCells(0);
    MarkPIDCells(1);
}

namespace {

// The grid as nobody entered it: the instrument's values, but the edit record's where it
// marks no change (what a loaded file did not hold, which OK never sends either).
FsPid::Texts givenTexts(const clsInstrument &inst, const clsInstrument &edit, int Index)
{
    FsPid::Texts t(FsPid::kRows);
    for (int e = 0; e < FsPid::kEntries; ++e) {
        QStringList row = FsPid::RowTexts(inst, e, Index);
        const QStringList shown = FsPid::RowTexts(edit, e, Index);
        for (int c = FsPid::ColName; c < FsPid::kCols; ++c)
            if (!(c <= FsPid::ColLongName ? edit.Change_PIDName(e) : edit.Change_PIDSpec(e, Index)))
                row[c] = shown.at(c);
        t[e + 1] = row;
    }
    return t;
}

void checkPidGrid(FlexGrid *g, int Index, const clsInstrument &inst, const clsInstrument &edit, int grey, bool normalise)
{
    FsPid::Texts t = gridTexts(g);
    const FsPid::Texts given = givenTexts(inst, edit, Index);
    const auto bad = FsPid::CheckPIDCells(Index, t, &given);
    for (int r = 1; r < FsPid::kRows; ++r) {
        for (int c = 1; c < FsPid::kCols; ++c) {
            if (normalise)
                g->setTextMatrix(r, c, t[r][c]);
            if (g->Cell(FlexGrid::SetBackColor, r, c).toInt() == grey)
                g->setCell(FlexGrid::SetForeColor, r, c, bad[r][c] ? kRed : 0);
            else
                g->setCell(FlexGrid::SetBackColor, r, c, bad[r][c] ? kRed : kWhite);
        }
    }
}

} // namespace

void frmFsDialog::CheckPIDCells(int Index)
{
    checkPidGrid(vfgPID[Index], Index, InstrumentValues(), EditValues(), vfgOtherSet->GreyColor(), true);
}

void frmFsDialog::MarkPIDCells(int Index)
{
    checkPidGrid(vfgPID[Index], Index, InstrumentValues(), EditValues(), vfgOtherSet->GreyColor(), false);
}

bool frmFsDialog::CheckPIDRange(int Index, int Row, int Col) const
{
    const FlexGrid *g = vfgPID[Index];
    return FsPid::CheckPIDRange(Index, g->TextMatrix(Row, FsPid::ColFullScale), Col, g->TextMatrix(Row, Col));
}

void frmFsDialog::cmdPIDExport_Click(int Index)
{
    const QString list = QStringLiteral("PID Sensor Settings");
    if (!EndOpenEdits() || !CheckPIDGrid(0) || !CheckPIDGrid(1)) {
        ShowImproperData(list);
        return;
    }
    if (const QString cell = PidNotComingBack(Index); !cell.isEmpty()) {
        ShowImproperData(list + QStringLiteral(": ") + cell);
        return;
    }
    if (const UnreadCell unread = UnreadPid(Index); !unread.where.isEmpty()) {
        ShowImproperData(list + QStringLiteral(": ") + unread.where, unread.reason);
        return;
    }
    QVector<QStringList> rows;
    for (int r = 1; r < FsPid::kRows; ++r)
        rows << rowTexts(vfgPID[Index], r).mid(1);
    if (!ChooseFile(true, kCsvEntry, PidListFile::DefaultName(Index), fdlg::OverwritePrompt | fdlg::PathMustExist))
        return;
    ShowExportResult(PidListFile::Write(cmddlg.FileName, rows));
}

QString frmFsDialog::PidNotComingBack(int Index) const
{
    // Every cell written must come back as itself: into its own cell, and a name or long
    // name past the name rule an import or a load judges it by wherever it is read (one
    // from the instrument holding a brace or "," would be red there). The numbers go as
    // the instrument gave them.
    const FlexGrid *g = vfgPID[Index];
    FsPid::Texts judged = gridTexts(g);
    const auto bad = FsPid::CheckPIDCells(Index, judged);
    for (int r = 1; r < FsPid::kRows; ++r) {
        int c = PidListFile::FirstCellNotReadBack(rowTexts(g, r).mid(1)) + 1;
        for (int col : {FsPid::ColName, FsPid::ColLongName})
            if (c == 0 && bad.at(r).at(col))
                c = col;
        if (c > 0)
            return QStringLiteral("row %1, %2").arg(r).arg(g->TextMatrix(0, c));
    }
    return QString();
}

frmFsDialog::UnreadCell frmFsDialog::UnreadPid(int Index) const
{
    // A value the download could not read, shown as it was left, is nobody's: it goes nowhere.
    const clsInstrument &edit = EditValues();
    const FlexGrid *g = vfgPID[Index];
    const GridCell at = FirstUnreadCell(
        edit, g, FsPid::kEntries, FsPid::ColName, FsPid::kCols, [Index](int e, int c) { return FsPid::ValueOf(Index, e, c); },
        [&](int e, int c) { return FsPid::RowTexts(edit, e, Index).at(c); });
    if (at.entry < 0)
        return {};
    return {QStringLiteral("row %1, %2").arg(at.entry + 1).arg(g->TextMatrix(0, at.col)),
            UnreadReason(FsPid::LineOf(Index, at.entry, at.col))};
}

void frmFsDialog::cmdPIDImport_Click(int Index)
{
    if (!ChooseFile(false, kCsvEntry, cmddlg.FileName, fdlg::FileMustExist))
        return;
    // The whole file is read and split first: a bad file changes nothing.
    const PidListFile::ReadResult file = PidListFile::Read(cmddlg.FileName);
    if (!file) {
        ShowImproperFile();
        return;
    }
    FlexGrid *g = vfgPID[Index];
    FlexGrid *other = vfgPID[1 - Index];
    g->CancelEdit();
    other->CancelEdit();
    for (int k = 0; k < file.rows.size(); ++k) {
        const int row = k + 1;
        const QStringList &cells = file.rows.at(k);
        // Columns the instrument refuses are not filled; an entry is marked changed only
        // where the file changed what the grid showed of the record, or gave a value the
        // download could not read.
        const QStringList shown = FsPid::RowTexts(*m_edit, k, Index);
        bool names = false, spec = false;
        for (int c = FsPid::ColName; c < FsPid::kCols; ++c) {
            if (!FsPid::ColumnTaken(*m_edit, c))
                continue;
            g->setTextMatrix(row, c, cells.at(c - 1));
            (c <= FsPid::ColLongName ? names : spec) |= cells.at(c - 1) != shown.at(c);
            TakeGiven(*m_edit, FsPid::ValueOf(Index, k, c));
        }
        // The names belong to both ranges, as an edit of them does; OK applies the low
        // range's names last, so names imported into the high range alone would be lost.
        if (FsPid::ColumnTaken(*m_edit, FsPid::ColName)) {
            other->setTextMatrix(row, FsPid::ColName, cells.at(0));
            other->setTextMatrix(row, FsPid::ColLongName, cells.at(1));
        }
        if (spec)
            m_edit->setChange_PIDSpec(k, Index, true);
        if (names)
            m_edit->setChange_PIDName(k, true);
    }
    CheckPIDCells(Index);
    MarkPIDCells(1 - Index);
}

void frmFsDialog::GetPIDGrids(clsInstrument &rec)
{
    FsPid::ApplyPidTables(rec, gridTexts(vfgPID[0]), gridTexts(vfgPID[1]));
}

bool frmFsDialog::GetPIDChannels(clsInstrument &rec, QString &failure)
{
    for (int ch = 0; ch < 7; ++ch) {
        if (!FsPid::PidChannelDue(rec, ch) || rec.invalidLJ())
            continue;
        if (FsPid::PidEntryOf(rec, rec.GasName(ch)) < 0) {
            // The channel would silently become entry 0's gas: the user picks a name first.
            vfgGasName->setCell(FlexGrid::SetBackColor, ch + 1, 1, kRed);
            failure = QStringLiteral("GAS Name && Ratio");
            return false;
        }
        GetPIDChannel(rec, ch);
    }
    return true;
}

void frmFsDialog::GetPIDChannel(clsInstrument &rec, int Channel)
{
    FsPid::GetPIDChannel(rec, Channel);
}

int frmFsDialog::TypedLength(const FlexGrid *Grid)
{
    const QLineEdit *line = qobject_cast<const QLineEdit *>(Grid->Editor());
    if (const auto *combo = qobject_cast<const QComboBox *>(Grid->Editor()))
        line = combo->lineEdit();
    const int length = int(Grid->EditText().size());
    return line ? length - int(line->selectedText().size()) : length;
}
