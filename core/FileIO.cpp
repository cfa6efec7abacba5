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

FileResult WriteFileWhole(const QString &path, const QByteArray &bytes)
{
    // A link chosen as the target keeps being a link: the file it points at is replaced.
    QByteArray target = native(path);
    struct stat link;
    if (::lstat(target.constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
        char *real = ::realpath(target.constData(), nullptr);
        if (!real)
            return fail(systemError(errno));
        target = QByteArray(real);
        ::free(real);
    }
    const QByteArray temp = target + kTempSuffix;
    // What an interrupted run of this same write left behind goes first.
    ::unlink(temp.constData());

    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return fail(systemError(errno));
    struct stat old;
    if (::stat(target.constData(), &old) == 0 && S_ISREG(old.st_mode))
        (void)::fchmod(fd, old.st_mode & 07777);

    int err = 0;
    bool good = writeAll(fd, bytes.constData(), bytes.size(), &err);
    if (good && ::fsync(fd) != 0) {
        err = errno;
        good = false;
    }
    if (::close(fd) != 0 && good) {
        err = errno;
        good = false;
    }
    if (good && ::rename(temp.constData(), target.constData()) != 0) {
        err = errno;
        good = false;
    }
    if (!good) {
        ::unlink(temp.constData());
        return fail(systemError(err));
    }
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(folderOf(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        (void)::fsync(dir);
        ::close(dir);
    }
    return {};
}

FileResult ReadFileWhole(const QString &path, qint64 cap, QByteArray &out)
{
    out.clear();
    const QByteArray name = native(path);
    // Non-blocking, so that a pipe chosen by mistake cannot hang the open.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return fail(systemError(errno));
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        const int err = errno;
        ::close(fd);
        return fail(systemError(err));
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(QStringLiteral("not a regular file"));
    }
    if (st.st_size > cap) {
        ::close(fd);
        return fail(QStringLiteral("larger than %1 bytes").arg(cap));
    }
    QByteArray data;
    data.resize(qsizetype(st.st_size) + 1); // one more: a file that grew is noticed
    qint64 have = 0;
    for (;;) {
        if (have == data.size()) {
            if (have > cap)
                break;
            data.resize(qsizetype(qMin<qint64>(cap + 1, have * 2 + 4096)));
        }
        const ssize_t n = ::read(fd, data.data() + have, size_t(data.size() - have));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            return fail(systemError(err));
        }
        if (n == 0)
            break;
        have += n;
    }
    ::close(fd);
    if (have > cap)
        return fail(QStringLiteral("larger than %1 bytes").arg(cap));
    data.resize(qsizetype(have));
    out = data;
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
