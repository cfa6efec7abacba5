#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>

// The one way the program writes a file and the one way it reads one.
struct FileResult {
    bool ok = true;
    QString error; // the system's own cause ("No space left on device"), or why a file was refused
    explicit operator bool() const { return ok; }
};

// Writes bytes to a temporary file beside path (path + kTempSuffix) and renames it over
// path once every write, the flush and the sync to disk succeeded. On any failure path is
// untouched and no temporary is left. A temporary left by an interrupted earlier run of
// the same write is removed first. An existing file's permissions are kept.
FileResult WriteFileWhole(const QString &path, const QByteArray &bytes);

// Reads a regular file (no device, pipe or folder) whole; a file larger than cap bytes is
// refused, also one that grows past cap while it is read.
FileResult ReadFileWhole(const QString &path, qint64 cap, QByteArray &out);

// Opens path for appending (created when missing) only when it is a regular file: a pipe,
// folder or device is refused without waiting on it. On success fd is the open descriptor
// and size the file's length; on failure fd is -1 and the error says why.
FileResult OpenRegularForAppend(const QString &path, int &fd, qint64 &size);

// Lines of a text file read as Latin-1, accepting CR LF, LF and CR. *cut (when given) is
// set when the last line has no line end: the writers end every line, so such a file was
// cut short.
QStringList SplitLines(const QByteArray &bytes, bool *cut = nullptr);

// Suffix of the temporary file WriteFileWhole writes beside its target.
inline constexpr const char *kTempSuffix = ".vktmp";
