#include "core/FileIO.h"

#include <QFile>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemError(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

FileResult fail(const QString &text)
{
    FileResult r;
    r.ok = false;
    r.error = text;
    return r;
}

QByteArray native(const QString &path) { return QFile::encodeName(path); }

bool writeAll(int fd, const char *data, qint64 size, int *err)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *err = errno;
            return false;
        }
        if (n == 0) {
            *err = EIO;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

QByteArray folderOf(const QByteArray &file)
{
    const qsizetype slash = file.lastIndexOf('/');
    if (slash < 0)
        return QByteArray(".");
    return slash == 0 ? QByteArray("/") : file.left(slash);
}

} // namespace

FileResult WriteTargetOf(const QString &path, QString *target)
{
    *target = path;
    const QByteArray name = native(path);
    struct stat link;
    if (::lstat(name.constData(), &link) != 0 || !S_ISLNK(link.st_mode))
        return {};
    char *real = ::realpath(name.constData(), nullptr);
    if (!real)
        return fail(systemError(errno));
    *target = QFile::decodeName(QByteArray(real));
    ::free(real);
    return {};
}

FileWriter::~FileWriter() { discard(); }

void FileWriter::discard()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
        ::unlink(m_temp.constData());
    }
}

FileResult FileWriter::open(const QString &path, const QString &tempPath)
{
    discard();
    m_err = 0;
    m_buffer.clear();
    QString target;
    const FileResult followed = WriteTargetOf(path, &target);
    if (!followed)
        return followed;
    m_target = native(target);
    m_temp = tempPath.isEmpty() ? m_target + kTempSuffix : native(tempPath);
    // What an interrupted run of this same write left behind goes first.
    ::unlink(m_temp.constData());

    m_fd = ::open(m_temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (m_fd < 0)
        return fail(systemError(errno));
    struct stat old;
    if (::stat(m_target.constData(), &old) == 0 && S_ISREG(old.st_mode))
        (void)::fchmod(m_fd, old.st_mode & 07777);
    return {};
}

void FileWriter::flushBuffer()
{
    if (m_fd >= 0 && m_err == 0 && !m_buffer.isEmpty())
        writeAll(m_fd, m_buffer.constData(), m_buffer.size(), &m_err);
    m_buffer.clear();
}

void FileWriter::write(const char *data, qint64 size)
{
    constexpr qint64 kBuffer = 1 << 20;
    if (m_fd < 0 || m_err != 0 || size <= 0)
        return;
    if (m_buffer.size() + size > kBuffer)
        flushBuffer();
    if (size >= kBuffer) {
        writeAll(m_fd, data, size, &m_err);
        return;
    }
    if (m_buffer.capacity() < kBuffer)
        m_buffer.reserve(kBuffer);
    m_buffer.append(data, qsizetype(size));
}

FileResult FileWriter::commit()
{
    if (m_fd < 0)
        return fail(systemError(EBADF));
    flushBuffer();
    m_buffer = QByteArray();
    int err = m_err;
    bool good = err == 0;
    if (good && ::fsync(m_fd) != 0) {
        err = errno;
        good = false;
    }
    if (::close(m_fd) != 0 && good) {
        err = errno;
        good = false;
    }
    m_fd = -1;
    if (good && ::rename(m_temp.constData(), m_target.constData()) != 0) {
        err = errno;
        good = false;
    }
    if (!good) {
        ::unlink(m_temp.constData());
        return fail(systemError(err));
    }
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(folderOf(m_target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return {};
}

FileResult WriteFileWhole(const QString &path, const QByteArray &bytes)
{
    FileWriter w;
    const FileResult opened = w.open(path);
    if (!opened)
        return opened;
    w.write(bytes);
    return w.commit();
}

namespace {

// Opens a regular file of at most cap bytes for reading; the size it has now in *size.
FileResult openRegular(const QString &path, qint64 cap, int *fd, qint64 *size)
{
    *fd = -1;
    // Non-blocking, so that a pipe chosen by mistake cannot hang the open.
    const int f = ::open(native(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (f < 0)
        return fail(systemError(errno));
    struct stat st;
    if (::fstat(f, &st) != 0) {
        const int err = errno;
        ::close(f);
        return fail(systemError(err));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(f);
        return fail(QStringLiteral("not a regular file"));
    }
    if (st.st_size > cap) {
        ::close(f);
        return fail(QStringLiteral("larger than %1 bytes").arg(cap));
    }
    *fd = f;
    *size = st.st_size;
    return {};
}

// read() that retries when interrupted; -1 with errno on failure.
ssize_t readSome(int fd, char *to, size_t n)
{
    for (;;) {
        const ssize_t got = ::read(fd, to, n);
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

} // namespace

FileResult ReadFileWhole(const QString &path, qint64 cap, QByteArray &out)
{
    out.clear();
    QByteArray data;
    const FileResult read = ReadFileChunks(path, cap, [&data](QByteArrayView piece) { data.append(piece); });
    if (!read)
        return read;
    out = data;
    return {};
}

FileResult ReadFileChunks(const QString &path, qint64 cap, const std::function<void(QByteArrayView)> &sink)
{
    int fd = -1;
    qint64 size = 0;
    const FileResult opened = openRegular(path, cap, &fd, &size);
    if (!opened)
        return opened;
    QByteArray piece(qsizetype(qMin<qint64>(size + 1, 1 << 20)), Qt::Uninitialized);
    qint64 have = 0;
    for (;;) {
        const ssize_t n = readSome(fd, piece.data(), size_t(piece.size()));
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            return fail(systemError(err));
        }
        if (n == 0)
            break;
        have += n;
        if (have > cap)
            break;
        sink(QByteArrayView(piece.constData(), n));
    }
    ::close(fd);
    if (have > cap)
        return fail(QStringLiteral("larger than %1 bytes").arg(cap));
    return {};
}

FileResult OpenRegularForAppend(const QString &path, int &fd, qint64 &size)
{
    size = 0;
    fd = -1;
    const QByteArray name = native(path);
    struct stat st;
    // Said plainly for what is there already; the check after the open covers a swap between.
    if (::stat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return fail(QStringLiteral("not a regular file"));
    // Non-blocking, so that a pipe with no reader cannot hang the open.
    fd = ::open(name.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0)
        return fail(systemError(errno));
    const bool statted = ::fstat(fd, &st) == 0;
    const int err = errno;
    if (!statted || !S_ISREG(st.st_mode)) {
        ::close(fd);
        fd = -1;
        return fail(statted ? QStringLiteral("not a regular file") : systemError(err));
    }
    size = st.st_size;
    return {};
}

QStringList SplitLines(const QByteArray &bytes, bool *cut)
{
    QStringList out;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    if (cut)
        *cut = false;
    while (start < n) {
        qsizetype end = start;
        while (end < n && bytes.at(end) != '\r' && bytes.at(end) != '\n')
            ++end;
        out << QString::fromLatin1(bytes.constData() + start, end - start);
        if (end == n && cut)
            *cut = true;
        if (end < n && bytes.at(end) == '\r' && end + 1 < n && bytes.at(end + 1) == '\n')
            ++end;
        start = end + 1;
    }
    return out;
}
