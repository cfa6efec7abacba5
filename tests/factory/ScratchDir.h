#pragma once
// A scratch folder for the list-file tests.
#include "support/TestFiles.h"
#include <QByteArray>
#include <QTemporaryDir>
#include <gtest/gtest.h>

struct ScratchDir {
    QTemporaryDir dir;
    // The path of name in the folder; with bytes, the file is written first.
    QString file(const QString &name, const QByteArray &bytes = QByteArray()) const
    {
        const QString p = dir.filePath(name);
        if (!bytes.isNull())
            WriteTestFile(p, bytes);
        return p;
    }
};
