#include "support/TestFiles.h"
#include "SettingsChecks.h"
#include "support/InstrumentDiff.h"

#include <gtest/gtest.h>
#include <cmath>

using M = clsInstrument::M;

namespace {

// Members a complete file does not carry, or carries only for some entries.
bool carried(M m, int i)
{
    switch (m) {
    case M::SerialNo: case M::DummySerial: case M::StationID: case M::UserID: case M::RomNumber:
    case M::SUM: case M::CommFlags: case M::ImportFlag: case M::FailLine: case M::SysDate:
    case M::SysDateOffset: case M::MessageString: case M::Key: case M::CalibBefore:
    case M::CalibAfter: case M::CalibDate: case M::changeDenst: case M::RP_: case M::SI_:
    case M::SZ_: case M::S1_: case M::AnalogValue:
    // Support flags describe the instrument: a load keeps those of the record it replaces.
    case M::invalidWB: case M::invalidFL_: case M::invalidGN: case M::invalidLP: case M::invalidHE_:
    case M::invalidFF: case M::invalidLO_: case M::invalidLB_: case M::invalidLA_: case M::invalidLI:
    case M::invalidG1: case M::invalidLJ: case M::InvalidIF:
        return false;
    case M::Ratio:
        return i == 0;
    default:
        break;
    }
    const int n = clsInstrument::info(m).count1;
    if (n == 10 || n == 11)
        return i < 7; // channels: 7..9 are derived, not read
    if (n == 17)
        return true; // PID entries 0..16
    return n == 1 || i < n - 1; // a list's last element is the original's unused one
}

} // namespace

QStringList carriedDifferences(const clsInstrument &expected, const clsInstrument &actual)
{
    return MemberDifferences(expected, actual, carried, [&](M m, int i, const QVariant &a, const QVariant &b) {
        const double x = a.toDouble();
        return m == M::AutoCalib && expected.GasType(i) == 0 &&
               std::abs(x - b.toDouble()) <= 1e-5 * std::max(1.0, std::abs(x));
    });
}

QList<QByteArray> crlfLines(const QByteArray &bytes)
{
    QList<QByteArray> out = bytes.split('\n');
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    for (QByteArray &l : out) {
        EXPECT_TRUE(l.endsWith('\r')) << l.toStdString();
        l.chop(1);
    }
    return out;
}
