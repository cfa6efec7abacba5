#pragma once
// A scratch folder for the list-file tests.
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

struct ScratchDir {
    QTemporaryDir dir;
    // The path of name in the folder; with bytes, the file is written first.
    QString file(const QString &name, const QByteArray &bytes = QByteArray()) const
    {
        const QString p = dir.filePath(name);
        if (!bytes.isNull()) {
            QFile f(p);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        return p;
    }
};
