#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <functional>

// The one way the program writes a file and the one way it reads one.
struct FileResult {
    bool ok = true;
    QString error; // the system's own cause ("No space left on device"), or why a file was refused
    explicit operator bool() const { return ok; }
};

// Where a write to path lands: path itself, or, when path is a symbolic link, the file it
// points at. Every writer replaces that file, so a link chosen as a target stays a link.
// Fails (with the system's cause) for a link that leads nowhere.
FileResult WriteTargetOf(const QString &path, QString *target);

// Writes a file in pieces, for contents too large to hold in memory: the bytes go to a
// temporary beside the file actually replaced (path's link target, see WriteTargetOf), and
// commit() renames it over that file once every write, the flush and the sync to disk
// succeeded. On any failure the target is untouched and no temporary is left; an
// uncommitted writer discards its temporary. A temporary left by an interrupted earlier run
// of the same write is removed first. An existing file's permissions are kept.
class FileWriter {
public:
    FileWriter() = default;
    ~FileWriter();
    FileWriter(const FileWriter &) = delete;
    FileWriter &operator=(const FileWriter &) = delete;

    // tempPath: the temporary, in the target's folder; empty gives target + kTempSuffix.
    FileResult open(const QString &path, const QString &tempPath = QString());
    // Buffered; the first failure is kept and returned by commit().
    void write(const char *data, qint64 size);
    void write(QByteArrayView bytes) { write(bytes.data(), bytes.size()); }
    FileResult commit();

private:
    void flushBuffer();
    void discard();

    int m_fd = -1;
    int m_err = 0;
    QByteArray m_target;
    QByteArray m_temp;
    QByteArray m_buffer;
};

// Writes bytes whole through a FileWriter.
FileResult WriteFileWhole(const QString &path, const QByteArray &bytes);

// Reads a regular file (no device, pipe or folder) whole; a file larger than cap bytes is
// refused, also one that grows past cap while it is read.
FileResult ReadFileWhole(const QString &path, qint64 cap, QByteArray &out);

// The same refusals, but the file is handed to sink in pieces of at most 1 MiB as it is
// read, so that a long file never sits in memory whole. On a failure the pieces already
// handed on were not the whole file.
FileResult ReadFileChunks(const QString &path, qint64 cap, const std::function<void(QByteArrayView)> &sink);

// Opens path for appending (created when missing) only when it is a regular file: a pipe,
// folder or device is refused without waiting on it. On success fd is the open descriptor
// and size the file's length; on failure fd is -1 and the error says why.
FileResult OpenRegularForAppend(const QString &path, int &fd, qint64 &size);

// Lines of a text file read as Latin-1, accepting CR LF, LF and CR. *cut (when given) is
// set when the last line has no line end.
QStringList SplitLines(const QByteArray &bytes, bool *cut = nullptr);

// Suffix of the temporary file FileWriter writes beside its target by default.
inline constexpr const char *kTempSuffix = ".vktmp";
