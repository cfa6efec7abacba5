#pragma once
#include "sim/samples/SampleRecord.h"
#include "support/TestFiles.h"
#include <QByteArray>
#include <QList>
#include <QStringList>

// Record comparisons and file helpers for the settings-file tests.

// Differences between two records in the members that a complete settings file carries
// ("GasFullScale(3,0): 12.5 / 13"). AutoCalib of catalytic channels, which the file holds
// against FL_(0), is compared to a relative 1e-5.
QStringList carriedDifferences(const clsInstrument &expected, const clsInstrument &actual);

// The lines of a file that must end every line with CR LF, the ends taken off.
QList<QByteArray> crlfLines(const QByteArray &bytes);
