#pragma once
#include <QList>
#include <QString>
#include <functional>

// Helpers beside the link: serial settings text, the USB infrared-adapter lookup, and the
// link's module variable gDataReceived.

// The link sets it False at each send and True when it takes an answer.
extern bool gDataReceived;
// Device name of the adapter whose number FindIrDAPort left in gIrCommNum ("/dev/ttyUSB0",
// "COM7"); empty when none. The number alone cannot name a device outside Windows.
extern QString gIrCommDevice;

// gCommSettings := "921600,n,8,1".
void SetIrCommSettings();

// One serial port as the system lists it.
struct UsbSerialPort {
    QString portName;       // "COM7", "ttyUSB0"
    QString systemLocation; // what the port is opened with
    bool hasIds = false;
    quint16 vendorId = 0;
    quint16 productId = 0;
};

// Lists the serial ports; the system one asks QSerialPortInfo, tests install their own.
class PortLister
{
public:
    virtual ~PortLister() = default;
    virtual QList<UsbSerialPort> ports() const = 0;
};
// nullptr puts the system lister back. The lister must outlive its use.
void SetPortLister(const PortLister *lister);
const PortLister &CurrentPortLister();

// The number a port is known by: n of "COMn"; for other names their trailing digits + 1, so
// that "ttyUSB0" is 1 and 0 keeps meaning "no adapter". 0 when the name has no digits.
int PortNumber(const QString &portName);
// The device of the listed port with that number; empty when none.
QString PortDeviceForNumber(int number);

// Shown when more than one adapter is plugged in ("IrDA Adapter has more than one is
// connected.", titled "IrDA Adapter Error", critical icon). The link has no widgets: the main
// window installs a hook that shows the box; without one nothing is shown.
using AdapterWarningHook = std::function<void(const QString &text, const QString &title)>;
void SetAdapterWarningHook(AdapterWarningHook hook);

// Looks for the adapter "VID_xxxx&PID_yyyy". Exactly one: gIrCommNum and gIrCommDevice
// name it. Any other count: both cleared (and for more than one the warning hook runs).
// Returns the number of adapters found.
int FindIrDAPort(const QString &UsbId);

// Resets gDataReceived, gIrCommDevice, the lister and the hook (tests).
void ResetLinkGlobals();
