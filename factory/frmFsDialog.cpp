// The frame of the factory-setting dialog: its controls, opening on a working copy of the
// record, the distribution check boxes, the whole-grid checks and OK / Cancel.
//
// What OK applies is what the grids show: every open editor is ended first (one holding a
// refused entry stops OK), every grid must be free of red cells, and the apply runs on a
// scratch copy that becomes the working copy only when every section converted.
#include "factory/frmFsDialog.h"
#include "core/Messages.h"
#include "core/modMain.h"
#include "factory/CopyInstrument.h"
#include "model/EditText.h"
#include "model/clsInstrument.h"
#include "platform/Controls.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/MsgBox.h"
#include "platform/Tabs.h"
#include "platform/Twips.h"
#include <QCheckBox>
#include <QEvent>
#include <QKeyEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <functional>

namespace {
const QString kName = QStringLiteral("frmFsDialog");
constexpr int kRed = 255;
// The pre-defined conversion table has this many data rows.
constexpr int kPreConvRows = 30;

template <class T>
T *make(QWidget *parent, const QString &name, int index = -1)
{
    auto *w = new T(parent);
    w->setObjectName(index < 0 ? name : QStringLiteral("%1_%2").arg(name).arg(index));
    return w;
}

FlexGrid *makeGrid(QWidget *parent, const QString &name, int index = -1)
{
    auto *g = make<FlexGrid>(parent, name, index);
    g->setEditable(FlexGrid::EditKeyboardMouse);
    // No header or cell text of the dialog is ever cut: columns and rows take what it needs.
    g->setFitTexts(true);
    return g;
}

const char *const kImportCaption = "Import    csv file";
const char *const kExportCaption = "Export     csv file";
const char *const kIncludedCaption = "It is included in the distribution file.";
} // namespace

frmFsDialog::frmFsDialog(QWidget *parent) : QDialog(parent)
{
    setObjectName(kName);
    setModal(true);
    createControls();
    setCaptions();
    layoutControls();
    wireFrame();
    wireSetupTab();
    wireNamesTab();
    wireConversionTab();
    wireChannelTab();
    wireOtherTab();
    wirePidTab();
    wireGasNameTab();
    wireStoreCommands();
}

frmFsDialog::~frmFsDialog()
{
    // The controls go after this object's own part: a grid losing focus on the way must
    // not call back into handlers of a dialog that is no longer there.
    for (QObject *child : findChildren<QObject *>())
        child->disconnect(this);
    for (FlexGrid *g : findChildren<FlexGrid *>())
        g->setSizeRule({}); // the rules read this dialog's grids
}

void frmFsDialog::Register()
{
    if (!IsFormRegistered(kName))
        RegisterForm(kName, [] { return new frmFsDialog; });
}

frmFsDialog *frmFsDialog::Default()
{
    Register();
    return qobject_cast<frmFsDialog *>(Form(kName));
}

frmFsDialog *frmFsDialog::Find() { return qobject_cast<frmFsDialog *>(FindForm(kName)); }

void frmFsDialog::setInstrument(clsInstrument *inst) { m_instrument = inst; }

// ---- controls -------------------------------------------------------------------------------

void frmFsDialog::createControls()
{
    SSTab1 = make<TabControl>(this, QStringLiteral("SSTab1"));
    QWidget *pages[6];
    for (int i = 0; i < 6; ++i)
        pages[i] = make<QWidget>(SSTab1, QStringLiteral("SSTab1Page"), i);

    // 0 Station & User
    lblStation = make<QLabel>(pages[0], QStringLiteral("lblStation"));
    vfgStation = makeGrid(pages[0], QStringLiteral("vfgStation"));
    lblUser = make<QLabel>(pages[0], QStringLiteral("lblUser"));
    vfgUser = makeGrid(pages[0], QStringLiteral("vfgUser"));
    cmdStationImport = make<QPushButton>(pages[0], QStringLiteral("cmdStationImport"));
    cmdStationExport = make<QPushButton>(pages[0], QStringLiteral("cmdStationExport"));
    cmdUserImport = make<QPushButton>(pages[0], QStringLiteral("cmdUserImport"));
    cmdUserExport = make<QPushButton>(pages[0], QStringLiteral("cmdUserExport"));
    chkStation = make<QCheckBox>(pages[0], QStringLiteral("chkStation"));
    chkUser = make<QCheckBox>(pages[0], QStringLiteral("chkUser"));

    // 1 Conversion Table
    SSTab2 = make<TabControl>(pages[1], QStringLiteral("SSTab2"));
    QWidget *pre = make<QWidget>(SSTab2, QStringLiteral("SSTab2Page"), 0);
    QWidget *user = make<QWidget>(SSTab2, QStringLiteral("SSTab2Page"), 1);
    vfgPreConv = makeGrid(pre, QStringLiteral("vfgPreConv"));
    lblCount = make<QLabel>(pre, QStringLiteral("lblCount"));
    txtCount = make<QLineEdit>(pre, QStringLiteral("txtCount"));
    updCount = make<UpDown>(pre, QStringLiteral("updCount"));
    updCount->setBuddy(txtCount);
    vfgUserConv = makeGrid(user, QStringLiteral("vfgUserConv"));
    SSTab2->addTab(pre, QString());
    SSTab2->addTab(user, QString());
    cmdConvImport = make<QPushButton>(pages[1], QStringLiteral("cmdConvImport"));
    cmdConvExport = make<QPushButton>(pages[1], QStringLiteral("cmdConvExport"));
    chkConvertion = make<QCheckBox>(pages[1], QStringLiteral("chkConvertion"));

    // 2 Channel Gas
    lblChannel = make<QLabel>(pages[2], QStringLiteral("lblChannel"));
    vfgChannel = makeGrid(pages[2], QStringLiteral("vfgChannel"));
    lblOtherSet = make<QLabel>(pages[2], QStringLiteral("lblOtherSet"));
    vfgOtherSet = makeGrid(pages[2], QStringLiteral("vfgOtherSet"));

    // 3 Gas Name
    lblGasName = make<QLabel>(pages[3], QStringLiteral("lblGasName"));
    vfgGasName = makeGrid(pages[3], QStringLiteral("vfgGasName"));
    lblGasNameOther = make<QLabel>(pages[3], QStringLiteral("lblGasNameOther"));
    vfgGasNameOther = makeGrid(pages[3], QStringLiteral("vfgGasNameOther"));

    // 4 Parameter
    SSTab4 = make<TabControl>(pages[4], QStringLiteral("SSTab4"));
    for (int i = 0; i < 3; ++i) {
        QWidget *page = make<QWidget>(SSTab4, QStringLiteral("SSTab4Page"), i);
        vfgDatas[i] = makeGrid(page, QStringLiteral("vfgDatas"), i);
        // The lists have no header row: row 0 is the first setting, column 0 its caption.
        vfgDatas[i]->setFixedRows(0);
        vfgDatas[i]->setFixedCols(1);
        auto *l = new QVBoxLayout(page);
        l->setContentsMargins(2, 2, 2, 2);
        l->addWidget(vfgDatas[i]);
        SSTab4->addTab(page, QString());
    }
    lblME = make<QLabel>(pages[4], QStringLiteral("lblME"));
    vfgME = makeGrid(pages[4], QStringLiteral("vfgME"));
    vfgZeroSpan = makeGrid(pages[4], QStringLiteral("vfgZeroSpan"));

    // 5 PID Sensor
    SSTab3 = make<TabControl>(pages[5], QStringLiteral("SSTab3"));
    for (int i = 0; i < 2; ++i) {
        QWidget *page = make<QWidget>(SSTab3, QStringLiteral("SSTab3Page"), i);
        vfgPID[i] = makeGrid(page, QStringLiteral("vfgPID"), i);
        chkPID[i] = make<QCheckBox>(page, QStringLiteral("chkPID"), i);
        cmdPIDExport[i] = make<QPushButton>(page, QStringLiteral("cmdPIDExport"), i);
        cmdPIDImport[i] = make<QPushButton>(page, QStringLiteral("cmdPIDImport"), i);
        auto *l = new QVBoxLayout(page);
        l->setContentsMargins(2, 2, 2, 2);
        l->addWidget(vfgPID[i], 1);
        auto *row = new QHBoxLayout;
        row->addWidget(chkPID[i]);
        row->addStretch(1);
        row->addWidget(cmdPIDImport[i]);
        row->addWidget(cmdPIDExport[i]);
        l->addLayout(row);
        SSTab3->addTab(page, QString());
    }

    for (int i = 0; i < 6; ++i)
        SSTab1->addTab(pages[i], QString());

    chkAll = make<QCheckBox>(this, QStringLiteral("chkAll"));
    cmdLoad = make<QPushButton>(this, QStringLiteral("cmdLoad"));
    cmdStore = make<QPushButton>(this, QStringLiteral("cmdStore"));
    cmdOK = make<QPushButton>(this, QStringLiteral("cmdOK"));
    cmdCancel = make<QPushButton>(this, QStringLiteral("cmdCancel"));
    lblSpaceCount = make<QLabel>(this, QStringLiteral("lblSpaceCount"));
    for (QPushButton *b : findChildren<QPushButton *>())
        b->setAutoDefault(false);
}

void frmFsDialog::setCaptions()
{
    setWindowTitle(QStringLiteral("VANTIK Factory Setting"));
    const QStringList outer = {QStringLiteral("Station && User"), QStringLiteral("Conversion Table"),
                               QStringLiteral("Channel Gas"),     QStringLiteral("Gas Name"),
                               QStringLiteral("Parameter"),       QStringLiteral("PID Sensor")};
    for (int i = 0; i < outer.size(); ++i)
        SSTab1->setTabCaption(i, outer[i]);
    SSTab2->setTabCaption(0, QStringLiteral("Pre-Defined Table"));
    SSTab2->setTabCaption(1, QStringLiteral("User Defined Table"));
    SSTab4->setTabCaption(0, QStringLiteral("SET UP"));
    SSTab4->setTabCaption(1, QStringLiteral("FACTORY SETTINGS"));
    SSTab4->setTabCaption(2, QStringLiteral("OTHER"));
    SSTab3->setTabCaption(0, QStringLiteral("High Range"));
    SSTab3->setTabCaption(1, QStringLiteral("Low Range"));

    lblStation->setText(QStringLiteral("Station List"));
    lblUser->setText(QStringLiteral("User List"));
    lblCount->setText(QStringLiteral("Available Count"));
    lblChannel->setText(QStringLiteral("Channel GAS Mapping"));
    lblOtherSet->setText(QStringLiteral("Other Setting"));
    // A label shows "&&" as one ampersand, as the captions are written.
    lblGasName->setText(QStringLiteral("GAS Name && Ratio"));
    lblGasNameOther->setText(QStringLiteral("Other Name"));
    lblME->setText(QStringLiteral("CAT DATA"));

    for (QPushButton *b : {cmdStationImport, cmdUserImport, cmdConvImport, cmdPIDImport[0], cmdPIDImport[1]})
        b->setText(QString::fromLatin1(kImportCaption));
    for (QPushButton *b : {cmdStationExport, cmdUserExport, cmdConvExport, cmdPIDExport[0], cmdPIDExport[1]})
        b->setText(QString::fromLatin1(kExportCaption));
    for (QCheckBox *c : {chkStation, chkUser, chkConvertion, chkPID[0], chkPID[1]})
        c->setText(QString::fromLatin1(kIncludedCaption));

    chkAll->setText(QStringLiteral("All Data ( Except SerialNo)"));
    cmdLoad->setText(QStringLiteral("Load local distibution file"));
    cmdStore->setText(QStringLiteral("Store as distribution file"));
    cmdOK->setText(QStringLiteral("OK"));
    cmdCancel->setText(QStringLiteral("Cancel"));
    lblSpaceCount->setText(QStringLiteral("(Left space 20)"));
}

void frmFsDialog::layoutControls()
{
    auto *page0 = SSTab1->widget(0);
    auto *g0 = new QGridLayout(page0);
    g0->addWidget(lblStation, 0, 0, 1, 2);
    g0->addWidget(vfgStation, 1, 0, 1, 2);
    g0->addWidget(cmdStationImport, 2, 0);
    g0->addWidget(cmdStationExport, 2, 1);
    g0->addWidget(chkStation, 3, 0, 1, 2);
    g0->addWidget(lblUser, 0, 2, 1, 2);
    g0->addWidget(vfgUser, 1, 2, 1, 2);
    g0->addWidget(cmdUserImport, 2, 2);
    g0->addWidget(cmdUserExport, 2, 3);
    g0->addWidget(chkUser, 3, 2, 1, 2);
    g0->setRowStretch(1, 1);

    auto *pre = SSTab2->widget(0);
    auto *lp = new QVBoxLayout(pre);
    lp->setContentsMargins(2, 2, 2, 2);
    lp->addWidget(vfgPreConv, 1);
    auto *count = new QHBoxLayout;
    count->addWidget(lblCount);
    count->addWidget(txtCount);
    count->addWidget(updCount);
    count->addStretch(1);
    txtCount->setMaximumWidth(TwipsToPixels(600));
    lp->addLayout(count);
    auto *lu = new QVBoxLayout(SSTab2->widget(1));
    lu->setContentsMargins(2, 2, 2, 2);
    lu->addWidget(vfgUserConv);
    auto *l1 = new QVBoxLayout(SSTab1->widget(1));
    l1->addWidget(SSTab2, 1);
    auto *convRow = new QHBoxLayout;
    convRow->addWidget(chkConvertion);
    convRow->addStretch(1);
    convRow->addWidget(cmdConvImport);
    convRow->addWidget(cmdConvExport);
    l1->addLayout(convRow);

    auto *l2 = new QVBoxLayout(SSTab1->widget(2));
    l2->addWidget(lblChannel);
    l2->addWidget(vfgChannel, 1);
    l2->addWidget(lblOtherSet);
    l2->addWidget(vfgOtherSet, 1);

    auto *l3 = new QVBoxLayout(SSTab1->widget(3));
    l3->addWidget(lblGasName);
    l3->addWidget(vfgGasName, 2);
    l3->addWidget(lblGasNameOther);
    l3->addWidget(vfgGasNameOther, 1);

    auto *l4 = new QHBoxLayout(SSTab1->widget(4));
    l4->addWidget(SSTab4, 3);
    auto *side = new QVBoxLayout;
    side->addWidget(lblME);
    side->addWidget(vfgME, 2);
    side->addWidget(vfgZeroSpan, 1);
    l4->addLayout(side, 2);

    auto *l5 = new QVBoxLayout(SSTab1->widget(5));
    l5->addWidget(SSTab3);

    auto *outer = new QVBoxLayout(this);
    outer->addWidget(SSTab1, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(chkAll);
    bottom->addWidget(cmdLoad);
    bottom->addWidget(cmdStore);
    bottom->addWidget(lblSpaceCount);
    bottom->addStretch(1);
    bottom->addWidget(cmdOK);
    bottom->addWidget(cmdCancel);
    outer->addLayout(bottom);
    resize(TwipsToPixels(13500), TwipsToPixels(9000));
}

void frmFsDialog::wireFrame()
{
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
    // A value set from code raises Click as a user click does (toggled, not clicked).
    connect(chkAll, &QCheckBox::toggled, this, [this] { chkAll_Click(); });
    for (int i = 0; i < 2; ++i)
        connect(chkPID[i], &QCheckBox::toggled, this, [this, i] { chkPID_Click(i); });
}

// ---- opening --------------------------------------------------------------------------------

void frmFsDialog::setVisible(bool visible)
{
    // Every showing is a new opening: Load clears the first-activation flag, so the
    // working copy is taken afresh from the caller's record.
    const bool opening = visible && !isVisible();
    if (opening)
        Form_Load();
    QDialog::setVisible(visible);
    if (opening)
        Form_Activate();
}

void frmFsDialog::keyPressEvent(QKeyEvent *e)
{
    // Escape ends a cell edit (the grid takes it while an editor is open) and nothing more:
    // only OK, Cancel and the close box end the dialog, so no habit key loses the edits.
    if (e->key() == Qt::Key_Escape && e->modifiers() == Qt::NoModifier) {
        e->accept();
        return;
    }
    QDialog::keyPressEvent(e);
}

bool frmFsDialog::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate && isVisible())
        Form_Activate();
    return QDialog::event(e);
}

void frmFsDialog::Form_Load()
{
    CopyFontToAll(this, gFont);
    fitButtons();
    m_firstActivate = false;
}

void frmFsDialog::fitButtons()
{
    // A button's own size hint leaves its caption no margin to spare; in the program font
    // every caption keeps the style's margin on both sides, also at the smallest size.
    for (QPushButton *b : findChildren<QPushButton *>()) {
        const int margin = b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b)
                           + b->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, b);
        b->setMinimumWidth(b->fontMetrics().horizontalAdvance(QString(b->text()).remove(QLatin1Char('&'))) + 2 * margin);
    }
}

void frmFsDialog::Form_Activate()
{
    if (m_firstActivate)
        return;
    m_firstActivate = true;
    if (!m_edit)
        m_edit = std::make_unique<clsInstrument>();
    if (m_instrument)
        CopyInstrument(*m_edit, *m_instrument, false);
    m_edit->ClearChangeFlags();
    m_datasBusy = false;
    SetAllGrids();
}

// ---- distribution check boxes ---------------------------------------------------------------

void frmFsDialog::chkAll_Click()
{
    const bool on = chkAll->isChecked();
    for (QCheckBox *c : {chkUser, chkStation, chkConvertion, chkPID[0], chkPID[1]})
        c->setChecked(on);
}

void frmFsDialog::chkPID_Click(int Index)
{
    if (Index < 0 || Index > 1)
        return;
    QCheckBox *other = chkPID[1 - Index];
    if (other->isChecked() != chkPID[Index]->isChecked())
        other->setChecked(chkPID[Index]->isChecked());
}

// ---- whole-grid checks ----------------------------------------------------------------------

bool frmFsDialog::NoRedCell(const FlexGrid *grid, int r1, int r2, int c1, int c2)
{
    r2 = qMin(r2, grid->Rows() - 1);
    c2 = qMin(c2, grid->Cols() - 1);
    for (int r = qMax(0, r1); r <= r2; ++r)
        for (int c = qMax(0, c1); c <= c2; ++c)
            if (grid->Cell(FlexGrid::SetBackColor, r, c).toInt() == kRed ||
                grid->Cell(FlexGrid::SetForeColor, r, c).toInt() == kRed)
                return false;
    return true;
}

bool frmFsDialog::CheckStationGrid() const { return NoRedCell(vfgStation, 0, vfgStation->Rows() - 1, 1, 1); }
bool frmFsDialog::CheckUserGrid() const { return NoRedCell(vfgUser, 0, vfgUser->Rows() - 1, 1, 1); }

bool frmFsDialog::CheckPreConvGrid() const
{
    // Rows past the count are sent as well, so every row counts; a count that is no whole
    // number of 0..30 (typed, or read from an instrument) is itself refused.
    bool ok = false;
    const int n = txtCount->text().trimmed().toInt(&ok);
    if (!ok || n < 0 || n > kPreConvRows)
        return false;
    return NoRedCell(vfgPreConv, 0, kPreConvRows, 1, vfgPreConv->Cols() - 1);
}

bool frmFsDialog::CheckUserConvGrid() const { return NoRedCell(vfgUserConv, 0, vfgUserConv->Rows() - 1, 1, vfgUserConv->Cols() - 1); }

bool frmFsDialog::CheckPIDGrid(int Index) const
{
    if (Index < 0 || Index > 1)
        return false;
    return NoRedCell(vfgPID[Index], 0, vfgPID[Index]->Rows() - 1, 1, vfgPID[Index]->Cols() - 1);
}

bool frmFsDialog::CheckChannelGrid() const { return NoRedCell(vfgChannel, 0, vfgChannel->Rows() - 1, 1, vfgChannel->Cols() - 1); }
bool frmFsDialog::CheckOtherSetGrid() const { return NoRedCell(vfgOtherSet, 0, vfgOtherSet->Rows() - 1, 1, vfgOtherSet->Cols() - 1); }
bool frmFsDialog::CheckGasNameGrid() const { return NoRedCell(vfgGasName, 0, vfgGasName->Rows() - 1, 1, vfgGasName->Cols() - 1); }
bool frmFsDialog::CheckGasNameOtherGrid() const
{
    return NoRedCell(vfgGasNameOther, 0, vfgGasNameOther->Rows() - 1, 1, vfgGasNameOther->Cols() - 1);
}

bool frmFsDialog::CheckDatasGrid() const
{
    for (const FlexGrid *g : vfgDatas)
        if (!NoRedCell(g, 0, g->Rows() - 1, 1, 1))
            return false;
    return true;
}

bool frmFsDialog::CheckMEGrid() const { return NoRedCell(vfgME, 0, vfgME->Rows() - 1, 1, vfgME->Cols() - 1); }

QList<FlexGrid *> frmFsDialog::allGrids() const
{
    return {vfgStation, vfgUser,   vfgPreConv,  vfgUserConv, vfgPID[0],   vfgPID[1],   vfgChannel,
            vfgOtherSet, vfgGasName, vfgGasNameOther, vfgDatas[0], vfgDatas[1], vfgDatas[2], vfgME, vfgZeroSpan};
}

bool frmFsDialog::EndOpenEdits()
{
    for (FlexGrid *g : allGrids())
        if (!::EndOpenEdits({g}))
            return false;
    return true;
}

// ---- OK / Cancel ----------------------------------------------------------------------------

void frmFsDialog::cmdOK_Click()
{
    struct Check {
        const char *list;
        std::function<bool()> passes;
        QList<FlexGrid *> grids;
    };
    const Check checks[] = {
        {"Station List", [this] { return CheckStationGrid(); }, {vfgStation}},
        {"User List", [this] { return CheckUserGrid(); }, {vfgUser}},
        {"Pre-Defined Conversion Table", [this] { return CheckPreConvGrid(); }, {vfgPreConv}},
        {"User Defined Conversion Table", [this] { return CheckUserConvGrid(); }, {vfgUserConv}},
        {"PID Sensor (High Range) Settings", [this] { return CheckPIDGrid(0); }, {vfgPID[0]}},
        {"PID Sensor (Low Range) Settings", [this] { return CheckPIDGrid(1); }, {vfgPID[1]}},
        {"Channel GAS Mapping", [this] { return CheckChannelGrid(); }, {vfgChannel}},
        {"Other Setting", [this] { return CheckOtherSetGrid(); }, {vfgOtherSet}},
        {"GAS Name && Ratio", [this] { return CheckGasNameGrid(); }, {vfgGasName}},
        {"Other Name", [this] { return CheckGasNameOtherGrid(); }, {vfgGasNameOther}},
        {"Parameter", [this] { return CheckDatasGrid(); }, {vfgDatas[0], vfgDatas[1], vfgDatas[2]}},
        {"CAT DATA", [this] { return CheckMEGrid(); }, {vfgME}},
    };
    auto refuse = [](const QString &what) {
        MsgBox(GetMsg(8056, what), vb::OKOnly | vb::Critical, GetMsg(5001));
    };

    // An editor still open holds what the user sees: it is stored first, or OK stops there.
    if (!EndOpenEdits()) {
        QString list = QStringLiteral("Parameter");
        for (const Check &c : checks)
            for (const FlexGrid *g : c.grids)
                if (g->IsEditing())
                    list = QString::fromLatin1(c.list);
        refuse(list);
        return;
    }
    for (const Check &c : checks) {
        if (!c.passes()) {
            refuse(QString::fromLatin1(c.list));
            return;
        }
    }
    QString failure;
    if (!GetAllGrids(&failure)) {
        refuse(failure);
        return;
    }
    if (!m_edit)
        m_edit = std::make_unique<clsInstrument>();
    if (m_instrument)
        CopyInstrument(*m_instrument, *m_edit, true);
    // Unloading ends the modal show; an instance outside the form registry just closes.
    if (!Unload(this))
        accept();
}

void frmFsDialog::cmdCancel_Click()
{
    if (!Unload(this))
        reject();
}

// ---- apply ----------------------------------------------------------------------------------

bool frmFsDialog::GetAllGrids(QString *failure)
{
    if (!m_edit)
        m_edit = std::make_unique<clsInstrument>();
    clsInstrument work(*m_edit);
    QString why;
    if (!ApplyAllGrids(work, why)) {
        if (failure)
            *failure = why;
        return false;
    }
    *m_edit = work;
    return true;
}

bool frmFsDialog::ApplyAllGrids(clsInstrument &work, QString &why)
{
    // In order. Four sections can refuse OK and stop here with their reason: a setting row
    // that cannot be stored, a CAT rename whose alarm points cannot follow, a count that is
    // no number, a PID channel that no entry names. The others cannot fail.
    if (!GetDatasGrids(work, why))
        return false;
    GetStationGrid(work);
    GetUserGrid(work);
    GetGasNameGrid(work);
    if (!GetChannel0Mirror(work, why))
        return false;
    GetGasNameOtherGrid(work);
    GetChannelGrid(work);
    GetPreConvNames(work);
    GetUserConvNames(work);
    GetPreConvAlarms(work);
    GetUserConvAlarms(work);
    if (!GetConvCount(work, why))
        return false;
    GetMEGrid(work);
    GetOtherSetGrid(work);
    GetPIDGrids(work);
    return GetPIDChannels(work, why);
}

// ---- leading-blanks label -------------------------------------------------------------------

void frmFsDialog::ShowLeftSpace(FlexGrid *Grid)
{
    if (!Grid)
        return;
    lblSpaceCount->setText(SerialField::SpaceCountText(Grid->TextMatrix(Grid->Row(), Grid->Col())));
}

void frmFsDialog::LeftSpaceChangeEdit(FlexGrid *Grid, int TextCol)
{
    if (Grid && Grid->Col() == TextCol)
        lblSpaceCount->setText(SerialField::SpaceCountText(Grid->EditText()));
    else
        lblSpaceCount->clear();
}

void frmFsDialog::LeftSpaceClick(FlexGrid *Grid, int TextCol)
{
    if (Grid && Grid->Col() == TextCol)
        ShowLeftSpace(Grid);
    else
        lblSpaceCount->clear();
}

void frmFsDialog::LeftSpaceLeave() { lblSpaceCount->clear(); }
