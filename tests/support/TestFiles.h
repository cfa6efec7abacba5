#pragma once
#include "core/FileIO.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <gtest/gtest.h>

// Test fixtures are written like every other file: through the one writer, checked.
inline void WriteTestFile(const QString &path, const QByteArray &bytes)
{
    const FileResult written = WriteFileWhole(path, bytes);
    ASSERT_TRUE(written) << path.toStdString() << ": " << written.error.toStdString();
}

// The bytes of a file, "<missing>" when it cannot be opened.
inline QByteArray ReadTestFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
