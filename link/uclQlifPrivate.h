#pragma once
#include "link/uclQlif.h"
#include <QByteArray>
#include <QString>
#include <functional>

// A running memory dump: which blocks are wanted, how to ask for the rest, where they go.
// Blocks carry their block number (FLASH) or address (FRAM, option board) in the header.
struct uclQlif::DumpState {
    std::function<QByteArray(int fromBlock)> requestFrom; // request body for blocks fromBlock..end
    std::function<bool(int block, const QByteArray &payload)> sink;
    int first = 0;     // header of block 0
    int step = 1;      // header increase per block
    int count = 0;     // blocks wanted
    int blockSize = 0; // payload bytes per block
    int received = 0;
    bool sinkFailed = false;
    QString label;     // progress text
    QString why;       // a dump that stopped: why, in the user's words
};

// "0A1F": four upper-case hex digits.
QByteArray Hex4Field(int value);

// Ends an operation on every way out of a function.
struct OpScope {
    std::function<void()> end;
    ~OpScope() { end(); }
};

