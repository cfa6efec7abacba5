#include "mainwindow/frmMain.h"
#include "link/modAddLib.h"
#include "link/uclQlif.h"
#include "platform/FlexGrid.h"
#include "platform/Forms.h"
#include "platform/RichLog.h"
#include "platform/StatusLamp.h"
#include "platform/Twips.h"
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {
template <class T>
T *make(QWidget *parent, const QString &name, int index = -1)
{
    auto *w = new T(parent);
    w->setObjectName(index < 0 ? name : QStringLiteral("%1_%2").arg(name).arg(index));
    return w;
}

// Designed geometry, in twips.
void place(QWidget *w, int left, int top, int width, int height) { MoveTwips(w, left, top, width, height); }

constexpr int kButtonH = 375;
constexpr int kPitch = 390;
constexpr int kInnerW = 2790; // wide enough for "Update as Factory Settings."
} // namespace

frmMain::frmMain(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    // Initialize: the serial settings text every later step relies on.
    SetIrCommSettings();
    uclQL7150 = new uclQlif(this);
    uclQL7150->setObjectName(QStringLiteral("uclQL7150"));
    createControls();
    wireControls();
    // The smallest outer size the layout is made for (12300 x 11025 twips).
    setMinimumSize(TwipsToPixels(12300), TwipsToPixels(11025));
    resize(minimumSize());
}

frmMain::~frmMain()
{
    // The link may still be inside a nested wait when the program tears down.
    if (uclQL7150)
        uclQL7150->setTimerEnabled(false);
    // The kept editor dies with the grid, after this part of the window is gone.
    if (mKeptEditor)
        disconnect(mKeptEditor, nullptr, this, nullptr);
}

void frmMain::Register()
{
    if (!IsFormRegistered(QStringLiteral("frmMain")))
        RegisterForm(QStringLiteral("frmMain"), [] { return new frmMain; });
}

frmMain *frmMain::Default()
{
    Register();
    auto *f = qobject_cast<frmMain *>(Form(QStringLiteral("frmMain")));
    if (f && !f->mLoaded)
        f->Form_Load();
    return f;
}

frmMain *frmMain::Find() { return qobject_cast<frmMain *>(FindForm(QStringLiteral("frmMain"))); }

void frmMain::createControls()
{
    // --- status band ---
    fraTransStatus = make<QGroupBox>(this, QStringLiteral("fraTransStatus"));
    place(fraTransStatus, 150, 150, 4500, 600);
    for (int i = 0; i < 4; ++i) {
        shpStatus[i] = make<StatusLamp>(fraTransStatus, QStringLiteral("shpStatus"), i);
        place(shpStatus[i], 150 + 1500 * i, 240, 240, 240);
        lblStatus[i] = make<QLabel>(fraTransStatus, QStringLiteral("lblStatus"), i);
        place(lblStatus[i], 450 + 1500 * i, 240, 1300, 255);
    }
    lblStatus[2]->setText(QStringLiteral("Cal.Unit"));
    lblStatus[3]->setText(QStringLiteral("Cal.Gas"));
    lblTitle = make<QLabel>(this, QStringLiteral("lblTitle"));
    place(lblTitle, 150, 900, 3000, 255);
    rtbLog = make<RichLog>(this, QStringLiteral("rtbLog"));
    rtbLog->setReadOnly(true);
    place(rtbLog, 150, 1155, 4500, 3000);

    // --- command frames ---
    for (int i = 0; i < 3; ++i) {
        fraCommand[i] = make<QGroupBox>(this, QStringLiteral("fraCommand"), i);
        fraInCommand[i] = make<QWidget>(fraCommand[i], QStringLiteral("fraInCommand"), i);
        place(fraInCommand[i], 75, 240, kInnerW, 4500);
    }
    QWidget *in0 = fraInCommand[0];
    for (int i : {1, 5, 4, 2})
        cmdDown[i] = make<QPushButton>(in0, QStringLiteral("cmdDown"), i);
    place(cmdDown[1], 0, 0, kInnerW, kButtonH);
    place(cmdDown[5], 0, kPitch, kInnerW, kButtonH);
    chkSaveOnly = make<QCheckBox>(in0, QStringLiteral("chkSaveOnly"));
    chkSaveOnly->setText(QStringLiteral("Save Only"));
    place(chkSaveOnly, 0, 2 * kPitch, kInnerW, 300);
    lblSuffix = make<QLabel>(in0, QStringLiteral("lblSuffix"));
    place(lblSuffix, 0, 1095, kInnerW, 240);
    txtSuffix = make<QLineEdit>(in0, QStringLiteral("txtSuffix"));
    place(txtSuffix, 0, 1350, kInnerW, 315);
    place(cmdDown[4], 0, 1740, kInnerW, kButtonH);
    place(cmdDown[2], 0, 1740 + kPitch, kInnerW, kButtonH);
    cmdFRAMDump = make<QPushButton>(in0, QStringLiteral("cmdFRAMDump"));
    place(cmdFRAMDump, 0, 1740 + 2 * kPitch, kInnerW, kButtonH);
    frmOPT = make<QGroupBox>(in0, QStringLiteral("frmOPT"));
    place(frmOPT, 0, 1740 + 3 * kPitch, kInnerW, 1425);
    for (int i = 0; i < 3; ++i) {
        Opt[i] = make<QRadioButton>(frmOPT, QStringLiteral("Opt"), i);
        Opt[i]->setText(QStringLiteral("OPT%1").arg(i + 1));
        place(Opt[i], 60 + 800 * i, 200, 780, 300);
    }
    cmdOptData = make<QPushButton>(frmOPT, QStringLiteral("cmdOptData"));
    cmdOptData->setText(QStringLiteral("OPT  DATA"));
    place(cmdOptData, 60, 570, kInnerW - 120, kButtonH);
    cmdOptFlash = make<QPushButton>(frmOPT, QStringLiteral("cmdOptFlash"));
    cmdOptFlash->setText(QStringLiteral("OPT FLASH"));
    place(cmdOptFlash, 60, 570 + kPitch, kInnerW - 120, kButtonH);

    QWidget *in1 = fraInCommand[1];
    for (int i = 0; i < 5; ++i)
        cmdOption[i] = make<QPushButton>(in1, QStringLiteral("cmdOption"), i);
    place(cmdOption[0], 0, 0, kInnerW, kButtonH);
    chkFactorySave = make<QCheckBox>(in1, QStringLiteral("chkFactorySave"));
    place(chkFactorySave, 0, kPitch, kInnerW, 300);
    place(cmdOption[1], 0, 720, kInnerW, kButtonH);
    place(cmdOption[2], 0, 720 + kPitch, kInnerW, kButtonH);
    place(cmdOption[3], 0, 720 + 2 * kPitch, kInnerW, kButtonH);
    for (int i = 0; i < 4; ++i) {
        chkUx[i] = make<QCheckBox>(in1, QStringLiteral("chkUx"), i);
        chkUx[i]->setText(i == 0 ? QStringLiteral("MAIN") : QStringLiteral("OPT%1").arg(i));
        place(chkUx[i], (i % 2) * 1275, 1890 + (i / 2) * 300, 1200, 300);
    }
    place(cmdOption[4], 0, 2580, kInnerW, kButtonH);

    QWidget *in2 = fraInCommand[2];
    cmdFactorySetting = make<QPushButton>(in2, QStringLiteral("cmdFactorySetting"));
    place(cmdFactorySetting, 0, 0, kInnerW, kButtonH);
    cmdImportSetting = make<QPushButton>(in2, QStringLiteral("cmdImportSetting"));
    place(cmdImportSetting, 0, kPitch, kInnerW, kButtonH);
    cmdExportSetting = make<QPushButton>(in2, QStringLiteral("cmdExportSetting"));
    place(cmdExportSetting, 0, 2 * kPitch, kInnerW, kButtonH);
    cmdExit = make<QPushButton>(in2, QStringLiteral("cmdExit"));
    place(cmdExit, 0, 4 * kPitch, kInnerW, kButtonH);

    // --- instrument view ---
    fraStatus = make<QGroupBox>(this, QStringLiteral("fraStatus"));
    fraStatus->setTitle(QStringLiteral("VANTIK Status"));
    place(fraStatus, 150, 5700, 12000, 5000);
    auto label = [this](std::array<QLabel *, 8> &arr, int i, int l, int t, int w) {
        arr[i] = make<QLabel>(fraStatus, QStringLiteral("lblOption"), i);
        place(arr[i], l, t, w, 285);
    };
    constexpr int kRow[] = {300, 660, 1020, 1380};
    label(lblOption, 0, 150, kRow[0], 2500);
    label(lblOption, 1, 150, kRow[1], 2500);
    label(lblOption, 2, 150, kRow[2], 2500);
    label(lblOption, 7, 150, kRow[3], 2500);
    label(lblOption, 3, 6700, kRow[1], 1900);
    label(lblOption, 4, 6700, kRow[2], 1900);
    label(lblOption, 5, 8650, kRow[1], 3100);
    label(lblOption, 6, 8650, kRow[2], 3100);
    for (int i = 0; i < 3; ++i) {
        txtOption[i] = make<QLineEdit>(fraStatus, QStringLiteral("txtOption"), i);
        txtOption[i]->installEventFilter(this);
    }
    place(txtOption[0], 2700, kRow[0], 2450, 315);
    cmbStation = make<QComboBox>(fraStatus, QStringLiteral("cmbStation"));
    place(cmbStation, 2700, kRow[1], 1800, 315); // room for a station name
    place(txtOption[1], 4550, kRow[1], 2000, 315);
    cmbUser = make<QComboBox>(fraStatus, QStringLiteral("cmbUser"));
    place(cmbUser, 2700, kRow[2], 1800, 315);
    place(txtOption[2], 4550, kRow[2], 2000, 315);
    cmbInterval = make<QComboBox>(fraStatus, QStringLiteral("cmbInterval"));
    for (const char *s : {"5", "10", "20", "30", "60", "180", "300", "600"})
        cmbInterval->addItem(QString::fromLatin1(s));
    cmbInterval->setCurrentIndex(-1);
    place(cmbInterval, 2700, kRow[3], 1000, 315);
    lblSpaceCount = make<QLabel>(fraStatus, QStringLiteral("lblSpaceCount"));
    lblSpaceCount->setText(QStringLiteral("(Left space 20)"));
    place(lblSpaceCount, 5200, kRow[0], 1450, 285); // "(Left space 20)" whole
    for (int i = 6; i <= 9; ++i)
        lblInst[i] = make<QLabel>(fraStatus, QStringLiteral("lblInst"), i);
    place(lblInst[6], 6700, kRow[0], 1900, 285);
    place(lblInst[7], 8650, kRow[0], 1000, 285);
    place(lblInst[8], 9750, kRow[0], 600, 285);
    place(lblInst[9], 10400, kRow[0], 1400, 285);
    for (int i = 0; i < 3; ++i) {
        lblOptROM[i] = make<QLabel>(fraStatus, QStringLiteral("lblOptROM"), i);
        place(lblOptROM[i], 6700 + 1250 * i, kRow[3], 1200, 285);
    }
    lblSubBoard = make<QLabel>(fraStatus, QStringLiteral("lblSubBoard"));
    lblSubBoard->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    lblSubBoard->setVisible(false);
    place(lblSubBoard, 3900, kRow[3], 2700, 285);
    vfgOption = make<FlexGrid>(fraStatus, QStringLiteral("vfgOption"));
    // Designed size until the view first fills it: the layout divides by the columns minus one.
    vfgOption->setRows(2);
    vfgOption->setCols(6);
    vfgOption->setFixedRows(2);
    vfgOption->setFixedCols(1);
    place(vfgOption, 150, 1800, 11700, 3000);

    tmrInter = new QTimer(this);
    tmrInter->setObjectName(QStringLiteral("tmrInter"));
    tmrInter->setInterval(1000);

    txtSuffix->installEventFilter(this);
}

void frmMain::wireControls()
{
    for (int i = 0; i < int(cmdDown.size()); ++i)
        if (cmdDown[i])
            connect(cmdDown[i], &QPushButton::clicked, this, [this, i] { cmdDown_Click(int16_t(i)); });
    for (int i = 0; i < int(cmdOption.size()); ++i)
        connect(cmdOption[i], &QPushButton::clicked, this, [this, i] { cmdOption_Click(int16_t(i)); });
    connect(cmdFRAMDump, &QPushButton::clicked, this, &frmMain::cmdFRAMDump_Click);
    connect(cmdOptData, &QPushButton::clicked, this, &frmMain::cmdOptData_Click);
    connect(cmdOptFlash, &QPushButton::clicked, this, &frmMain::cmdOptFlash_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmMain::cmdExit_Click);
    connect(cmdFactorySetting, &QPushButton::clicked, this, &frmMain::cmdFactorySetting_Click);
    connect(cmdExportSetting, &QPushButton::clicked, this, &frmMain::cmdExportSetting_Click);
    connect(cmdImportSetting, &QPushButton::clicked, this, &frmMain::cmdImportSetting_Click);

    connect(cmbStation, &QComboBox::currentIndexChanged, this, [this] { cmbStation_Click(); });
    connect(cmbUser, &QComboBox::currentIndexChanged, this, [this] { cmbUser_Click(); });
    connect(cmbInterval, &QComboBox::currentIndexChanged, this, [this] { cmbInterval_Click(); });
    for (int i = 0; i < 3; ++i)
        connect(txtOption[i], &QLineEdit::textChanged, this, [this, i] { txtOption_Change(i); });
    connect(vfgOption, &FlexGrid::BeforeEdit, this, &frmMain::vfgOption_BeforeEdit);
    connect(vfgOption, &FlexGrid::ValidateEdit, this, &frmMain::vfgOption_ValidateEdit);
    connect(vfgOption, &FlexGrid::AfterEdit, this, &frmMain::vfgOption_AfterEdit);

    connect(tmrInter, &QTimer::timeout, this, &frmMain::tmrInter_Timer);

    uclQlif *l = uclQL7150;
    connect(l, &uclQlif::OnConnect, this, &frmMain::uclQL7150_OnConnect);
    connect(l, &uclQlif::Densty, this, &frmMain::uclQL7150_Densty);
    connect(l, &uclQlif::ConnectRetry, this, &frmMain::uclQL7150_ConnectRetry);
    connect(l, &uclQlif::InstMessage, this, &frmMain::uclQL7150_InstMessage);
    connect(l, &uclQlif::InterMessage, this, &frmMain::uclQL7150_InterMessage);
    connect(l, &uclQlif::AlarmMessage, this, &frmMain::uclQL7150_AlarmMessage);
    connect(l, &uclQlif::DumpMessage, this, &frmMain::uclQL7150_DumpMessage);
    connect(l, &uclQlif::LinkLost, this, &frmMain::uclQL7150_LinkLost);
    connect(l, &uclQlif::IrDAError, this, &frmMain::uclQL7150_IrDAError);
    connect(l, &uclQlif::StsTransmit, this, &frmMain::uclQL7150_StsTransmit);
    connect(l, &uclQlif::StsIdle, this, &frmMain::uclQL7150_StsIdle);
}

void frmMain::holdFocus(QWidget *field)
{
    mHeldField = field;
    QPointer<QWidget> f = field;
    QTimer::singleShot(0, this, [f] {
        if (f)
            f->setFocus(Qt::OtherFocusReason);
    });
}

// Focus and keys of the text fields: GotFocus, Validate (a refusal keeps the focus),
// LostFocus and the key filter.
bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    int index = -1;
    for (int i = 0; i < 3; ++i)
        if (watched == txtOption[i])
            index = i;
    const bool suffix = watched == txtSuffix;
    if (index < 0 && !suffix)
        return QWidget::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::FocusIn:
        if (index >= 0)
            txtOption_GotFocus(index);
        break;
    case QEvent::FocusOut: {
        auto *fe = static_cast<QFocusEvent *>(event);
        // Switching to another window is no leaving of the field.
        if (fe->reason() == Qt::ActiveWindowFocusReason || fe->reason() == Qt::PopupFocusReason)
            break;
        // While another refused field holds the focus, this one's check waits: two refused
        // fields must not hand the focus back and forth for ever.
        if (mHeldField && mHeldField != watched && mHeldField->isEnabled() && mHeldField->isVisible())
            break;
        bool cancel = false;
        if (suffix)
            txtSuffix_Validate(cancel);
        else
            txtOption_Validate(index, cancel);
        if (cancel) {
            holdFocus(static_cast<QWidget *>(watched));
        } else {
            mHeldField = nullptr;
            if (index >= 0)
                txtOption_LostFocus(index);
        }
        break;
    }
    case QEvent::KeyPress: {
        if (index < 0)
            break;
        auto *ke = static_cast<QKeyEvent *>(event);
        int16_t key = 0;
        if (ke->key() == Qt::Key_Backspace)
            key = 8;
        else if (ke->text().size() == 1 && !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
                 && ke->text().at(0).unicode() >= 32 && ke->text().at(0).unicode() < 256)
            key = int16_t(ke->text().at(0).unicode());
        else
            break;
        const int16_t typed = key;
        txtOption_KeyPress(index, key);
        if (key == 0)
            return true;
        if (key != typed && key != 8) {
            txtOption[index]->insert(QString(QChar(key)));
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
