#pragma once

// An X server of the test's own (Debian package xvfb), for tests of what only a real window system
// shows. Made before the application object, which connects to the display it names.

#include <QByteArray>
#include <QtGlobal>

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kq::EditorTest {

// An Xvfb of the test's own; the server picks a free display and writes its number to a pipe.
class VirtualDisplay
{
public:
    VirtualDisplay()
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        mPid = fork();
        if (mPid == 0) {
            close(fds[0]);
            const int devnull = open("/dev/null", O_WRONLY);
            dup2(devnull, STDOUT_FILENO);
            dup2(devnull, STDERR_FILENO);
            const QByteArray fd = QByteArray::number(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.constData(), "-screen", "0", "1024x768x24",
                   "-nolisten", "tcp", static_cast<char *>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        char buffer[16] = {};
        ssize_t got = 0;
        while (mPid > 0 && got < qsizetype(sizeof buffer) - 1) {
            const ssize_t n = read(fds[0], buffer + got, sizeof buffer - 1 - got);
            if (n <= 0 || buffer[got + n - 1] == '\n') {
                got += qMax<ssize_t>(n, 0);
                break;
            }
            got += n;
        }
        close(fds[0]);
        const QByteArray number = QByteArray(buffer, got).trimmed();
        if (!number.isEmpty())
            mName = ':' + number;
    }
    ~VirtualDisplay()
    {
        if (mPid > 0) {
            kill(mPid, SIGTERM);
            waitpid(mPid, nullptr, 0);
        }
    }
    QByteArray name() const { return mName; }

private:
    pid_t mPid = -1;
    QByteArray mName;
};

} // namespace kq::EditorTest
