#include "core/Wait.h"
#include "core/modMain.h"
#include "link/uclQlif.h"
#include "mainwindow/frmMain.h"
#include "mainwindow/GasGridRules.h"
#include "mainwindow/frmMain_commands_p.h"
#include "mainwindow/frmUpload.h"
#include "mainwindow/modMainWindow.h"
#include "model/ModelGlobals.h"
#include "model/clsInstrument.h"
#include "platform/Controls.h"
#include "platform/FlexGrid.h"
#include "platform/RichLog.h"
#include "platform/StatusLamp.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include "model/modGasCommon.h"

void frmMain::setLamp(int index, const std::array<int, 3> &pair)
{
    if (index >= 0 && index < int(shpStatus.size()) && shpStatus[index])
        shpStatus[index]->setColors(pair[0], pair[1]);
}

// A log line in colour. Always at the end: the user's selection in the pane is left intact.
void frmMain::AddInfo(const QString &Text, int Color)
{
    rtbLog->setSelStart(rtbLog->TextLength());
    rtbLog->AddLine(Text, Color);
}

void frmMain::AddReasons(std::initializer_list<QString> reasons)
{
    for (const QString &why : reasons)
        if (!why.isEmpty())
            AddInfo(why, kRed);
}

void frmMain::SetCommandEnabled()
{
    enum { NotConnected, NoRecord, Record } state = NotConnected;
    if (uclQL7150->Connected()) {
        const clsInstrument &inst = gInstrument();
        state = (inst.CommFlags() != 0 || inst.ImportFlag() != 0) ? Record : NoRecord;
    }
    const bool connected = state != NotConnected;
    const bool record = state == Record;

    mRecordEntries = record;
    mSuffixEntry = connected;
    ApplyEntryStates();
    for (QComboBox *c : {cmbStation, cmbUser, cmbInterval})
        SetComboEnabled(c, record);
    // Option slots: a fitted board (not an empty slot) is selectable; the highest one wins.
    bool anySlot = false;
    for (int i = 0; i < 3; ++i) {
        const bool fitted = record && gInstrument().GasType(i + 4) != SensorType::EmptySlot;
        Opt[i]->setEnabled(fitted);
        if (fitted) {
            Opt[i]->setChecked(true);
            anySlot = true;
        }
    }
    cmdOptFlash->setEnabled(anySlot);
    cmdOptData->setEnabled(anySlot);
    for (int i : {1, 5, 2, 4})
        cmdDown[i]->setEnabled(connected);
    cmdFRAMDump->setEnabled(connected);
    cmdFactorySetting->setEnabled(true);
    cmdOption[0]->setEnabled(record);
    cmdOption[1]->setEnabled(connected);
    cmdOption[2]->setEnabled(record);
    cmdOption[3]->setEnabled(connected);
    for (QCheckBox *c : chkUx)
        c->setEnabled(connected);
    cmdOption[4]->setEnabled(record);
    chkFactorySave->setEnabled(record);
    cmdImportSetting->setEnabled(true);
    cmdExportSetting->setEnabled(true);
}

void frmMain::ApplyEntryStates()
{
    QLineEdit *serial = txtOption[0];
    const bool serialAcceptable = SerialField::Acceptable(serial->text());
    // Only the user's own text holds the commands (a shown one is not stored).
    const bool serialRefused = serial->isModified() && !serialAcceptable;
    const bool serialRed = serial->palette().color(QPalette::Base) == QColor(255, 0, 0);
    for (QLineEdit *t : txtOption)
        SetTextEnabled(t, mRecordEntries || (t == serial && serialRefused));
    if (serialRed && !serialAcceptable)
        SetFieldColor(serial, true); // the state's colours must not hide a refusal
    txtSuffix->setEnabled(mSuffixEntry || !FileSuffixAcceptable(txtSuffix->text()));
    const bool editing = vfgOption->IsEditing();
    vfgOption->setEnabled(mRecordEntries || editing);
    if (editing && !mRecordEntries && mKeptEditor != vfgOption->Editor()) {
        // Taken or dropped (Escape): the editor goes, and the grid follows the state again.
        mKeptEditor = vfgOption->Editor();
        if (mKeptEditor)
            connect(mKeptEditor, &QObject::destroyed, this, [this] { ApplyEntryStates(); });
    }
}

void frmMain::EnableCommands(bool Flag)
{
    for (QGroupBox *f : fraCommand)
        f->setEnabled(Flag);
}

void frmMain::tmrInter_Timer()
{
    const QDateTime now = QDateTime::currentDateTime();
    const int status = uclQL7150->Status();
    if (status == 0 || status == 1) {
        lblOption[5]->setText(FormatGeneralDate(now));
        lblOption[6]->setText(QString());
    } else {
        const QString stamp = now.toString(Qt::ISODate);
        if (lblOption[5]->property("Tag").toString() != stamp) {
            lblOption[5]->setProperty("Tag", stamp);
            lblOption[5]->setText(FormatGeneralDate(now));
            lblOption[6]->setText(FormatGeneralDate(now.addSecs(-gInstrument().SysDateOffset())));
        }
    }
    if (gDebugMode)
        lblSubBoard->setVisible(gInstrument().Change_SubBoard());
}

bool frmMain::TransferRunning() const
{
    return mBusyDepth > 0 || (uclQL7150 && uclQL7150->Busy()) || IsWaiting();
}

frmMain::BusyGuard::BusyGuard(frmMain &form, bool tellUser) : m_form(&form)
{
    if (form.TransferRunning()) {
        if (tellUser)
            Commands::RefuseBusy();
        return;
    }
    ++form.mBusyDepth;
    m_ok = true;
}

frmMain::BusyGuard::~BusyGuard()
{
    if (m_ok && m_form)
        --m_form->mBusyDepth;
}

frmUpload *frmMain::ShowUpload(const QString &caption, const QString &label)
{
    frmUpload *u = frmUpload::Default();
    if (!u)
        return nullptr;
    u->setWindowTitle(caption);
    if (!label.isNull())
        u->lblUpload->setText(label);
    u->show();
    return u;
}

void frmMain::UnloadUpload() { frmUpload::UnloadDefault(); }
