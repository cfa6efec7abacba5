#include "link/modAddLib.h"
#include "core/modMain.h"
#include <QRegularExpression>
#include <QSerialPortInfo>

bool gDataReceived = false;
QString gIrCommDevice;

namespace {
class SystemPortLister : public PortLister
{
public:
    QList<UsbSerialPort> ports() const override
    {
        QList<UsbSerialPort> out;
        for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
            UsbSerialPort p;
            p.portName = info.portName();
            p.systemLocation = info.systemLocation();
            p.hasIds = info.hasVendorIdentifier() && info.hasProductIdentifier();
            p.vendorId = info.vendorIdentifier();
            p.productId = info.productIdentifier();
            out.append(p);
        }
        return out;
    }
};

const SystemPortLister kSystemLister;
const PortLister *gLister = nullptr;
AdapterWarningHook gWarningHook;
} // namespace

void SetIrCommSettings() { gCommSettings = QStringLiteral("921600,n,8,1"); }

void SetPortLister(const PortLister *lister) { gLister = lister; }
const PortLister &CurrentPortLister() { return gLister ? *gLister : kSystemLister; }

void SetAdapterWarningHook(AdapterWarningHook hook) { gWarningHook = std::move(hook); }

int PortNumber(const QString &portName)
{
    static const QRegularExpression com(QStringLiteral("^COM(\\d{1,4})$"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tail(QStringLiteral("(\\d{1,4})$"));
    QRegularExpressionMatch m = com.match(portName);
    if (m.hasMatch())
        return m.captured(1).toInt();
    m = tail.match(portName);
    if (m.hasMatch())
        return m.captured(1).toInt() + 1;
    return 0;
}

QString PortDeviceForNumber(int number)
{
    if (number <= 0)
        return {};
    for (const UsbSerialPort &p : CurrentPortLister().ports())
        if (PortNumber(p.portName) == number)
            return p.systemLocation.isEmpty() ? p.portName : p.systemLocation;
    return {};
}

int FindIrDAPort(const QString &UsbId)
{
    static const QRegularExpression ids(QStringLiteral("VID_([0-9A-F]{4})&PID_([0-9A-F]{4})"),
                                        QRegularExpression::CaseInsensitiveOption);
    QList<UsbSerialPort> found;
    const QRegularExpressionMatch m = ids.match(UsbId);
    if (m.hasMatch()) {
        const quint16 vid = quint16(m.captured(1).toUInt(nullptr, 16));
        const quint16 pid = quint16(m.captured(2).toUInt(nullptr, 16));
        for (const UsbSerialPort &p : CurrentPortLister().ports())
            if (p.hasIds && p.vendorId == vid && p.productId == pid)
                found.append(p);
    }
    if (found.size() == 1) {
        const int n = PortNumber(found.first().portName);
        if (n > 0 && n <= 32767) {
            gIrCommNum = int16_t(n);
            gIrCommDevice = found.first().systemLocation.isEmpty() ? found.first().portName
                                                                   : found.first().systemLocation;
            return 1;
        }
    }
    if (found.size() > 1 && gWarningHook)
        gWarningHook(QStringLiteral("IrDA Adapter has more than one is connected."), QStringLiteral("IrDA Adapter Error"));
    gIrCommNum = 0;
    gIrCommDevice.clear();
    return int(found.size());
}

void ResetLinkGlobals()
{
    gDataReceived = false;
    gIrCommDevice.clear();
    gLister = nullptr;
    gWarningHook = nullptr;
}
