#pragma once
// Runs a write in a child process and hands back the text the child reported, so a write
// can fail at the real file system without root:
//  - limit >= 0: the child's file-size limit in bytes (SIGXFSZ ignored, so an over-long
//    write fails with EFBIG as it would on a full disk);
//  - asNobody: a child of root drops to user "nobody", for whom a folder's missing write
//    permission counts (root's does not);
//  - signalDefault: SIGXFSZ stays at its default instead (it ends the child), as a program's
//    is before it ignores the signal itself.
// A child that did not end by itself gives "<child died>".
#include <QString>
#include <functional>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

inline QString RunInChild(const std::function<QString()> &write, long limit = -1, bool asNobody = false,
                          bool signalDefault = false)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return QStringLiteral("<no pipe>");
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        ::signal(SIGXFSZ, signalDefault ? SIG_DFL : SIG_IGN);
        if (limit >= 0) {
            struct rlimit rl;
            rl.rlim_cur = rl.rlim_max = rlim_t(limit);
            ::setrlimit(RLIMIT_FSIZE, &rl);
        }
        if (asNobody && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(3);
        const QByteArray said = write().toUtf8();
        ssize_t done = 0;
        while (done < said.size()) {
            const ssize_t n = ::write(fds[1], said.constData() + done, size_t(said.size() - done));
            if (n <= 0)
                break;
            done += n;
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    QByteArray said;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n <= 0)
            break;
        said.append(buf, n);
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status))
        return QStringLiteral("<child died>");
    return QString::fromUtf8(said);
}

// The same limit for this process while the object lives (only the soft limit is lowered,
// so it can be put back), for writes made on the test's own event loop. SIGXFSZ is ignored
// meanwhile: an over-long write fails with EFBIG instead of ending the process.
class ScopedFileSizeLimit
{
public:
    explicit ScopedFileSizeLimit(long limit)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = ::signal(SIGXFSZ, SIG_IGN);
        struct rlimit rl = m_old;
        rl.rlim_cur = rlim_t(limit);
        ::setrlimit(RLIMIT_FSIZE, &rl);
    }
    ~ScopedFileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        ::signal(SIGXFSZ, m_oldHandler);
    }
    ScopedFileSizeLimit(const ScopedFileSizeLimit &) = delete;
    ScopedFileSizeLimit &operator=(const ScopedFileSizeLimit &) = delete;

private:
    struct rlimit m_old {};
    void (*m_oldHandler)(int) = nullptr;
};
