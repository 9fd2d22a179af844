#pragma once

#include <QByteArray>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessary::test {

// Makes the named pipe `fifo`, runs `write` (which writes into it by name) and returns what
// came out of the other end. The test holds a writer of its own until `write` is done, so the
// reader sees the end of the data then, whether or not `write` opened the pipe at all.
inline QByteArray throughPipe(const QByteArray &fifo, const std::function<void()> &write) {
    if (::mkfifo(fifo.constData(), 0600) != 0)
        return "(no pipe)";
    const int readEnd = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
    const int ownWriter = ::open(fifo.constData(), O_WRONLY);
    if (readEnd < 0 || ownWriter < 0 || ::fcntl(readEnd, F_SETFL, 0) != 0)
        return "(pipe not opened)";
    QByteArray received;
    std::thread reader([&] {
        char chunk[65536];
        for (ssize_t n; (n = ::read(readEnd, chunk, sizeof chunk)) > 0;)
            received.append(chunk, n);
    });
    write();
    ::close(ownWriter);
    reader.join();
    ::close(readEnd);
    return received;
}

} // namespace tessary::test
