// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

// Lists one simulated fleet's burst of scan replies twice: drained by a plain
// receive loop (the physical baseline), then by the real endpoint and main window,
// offscreen. Prints one line of figures. Run it through listing-bench.sh, on the
// program's side of a private network with the device simulator on the other.

#include "datagramcodec.h"
#include "devicelistmodel.h"
#include "mainwindow.h"
#include "mysocket.h"
#include "udpcounters.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QBitArray>
#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

namespace {

// Replies still missing after this long without one are taken as lost.
constexpr int IdleMs = 2000;

qint64 peakResidentKib()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.simplified().split(' ').value(1).toLongLong();
    }
    return -1;
}

// Processor time of the calling thread: what listing costs, however fast the
// replies arrive.
double threadCpuMs()
{
    timespec time {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return time.tv_sec * 1e3 + time.tv_nsec / 1e6;
}

// The simulator numbers its devices from 1 in the MAC's last three bytes.
int deviceNumber(const DeviceRecord &device)
{
    return int(device.mac.toUInt64() & 0xFFFFFF);
}

struct Drain
{
    int replies = 0;
    double firstToLastMs = 0;
};

// What the hardware and the kernel allow: recv() into one buffer, nothing else.
Drain plainDrain(int expected)
{
    Drain drain;
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    const int one = 1;
    const int buffer = MySocket::WantedReceiveBufferBytes;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &buffer, sizeof buffer);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(Datagram::DevicePort);
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        std::perror("bench_listing: bind");
        ::close(fd);
        return drain;
    }
    address.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    const QByteArray scan = Datagram::scanRequest(0);
    ::sendto(fd, scan.constData(), size_t(scan.size()), 0,
        reinterpret_cast<const sockaddr *>(&address), sizeof address);

    static char datagram[65536];
    QElapsedTimer sinceFirst;
    pollfd readable { fd, POLLIN, 0 };
    while (drain.replies<expected && ::poll(&readable, 1, IdleMs)> 0) {
        const ssize_t size = ::recv(fd, datagram, sizeof datagram, 0);
        // The scan request comes back too; only replies count.
        if (size < Datagram::MinReplySize)
            continue;
        if (drain.replies++ == 0)
            sinceFirst.start();
        drain.firstToLastMs = sinceFirst.nsecsElapsed() / 1e6;
    }
    ::close(fd);
    return drain;
}

struct Listing
{
    int replies = 0;
    int rows = 0;
    int leftOut = 0;
    // Rows of the simulator's first devices, as many as the list holds: a
    // flood past the limit must not push any of them out.
    int firstListed = 0;
    double firstToLastRowMs = 0;
    double cpuMs = 0;
    double longestPaintGapMs = 0;
    double longestTickGapMs = 0;
    int receiveBufferBytes = 0;
};

// Paints of the table's viewport, timed from the first reply on.
class PaintClock : public QObject
{
public:
    explicit PaintClock(const QElapsedTimer &sinceFirst)
        : sinceFirst(sinceFirst)
    { }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && sinceFirst.isValid()) {
            const double now = sinceFirst.nsecsElapsed() / 1e6;
            longestGapMs = qMax(longestGapMs, now - lastMs);
            lastMs = now;
        }
        return QObject::eventFilter(watched, event);
    }

    const QElapsedTimer &sinceFirst;
    double lastMs = 0;
    double longestGapMs = 0;
};

Listing listInWindow(int expected)
{
    Listing listing;
    QElapsedTimer sinceFirst;
    MySocket endpoint;
    endpoint.initUdpSocket();
    MainWindow window(&endpoint);
    window.show();
    auto *table = window.findChild<QTableView *>(QStringLiteral("tableWidget"));
    listing.receiveBufferBytes = endpoint.receiveBufferBytes();
    PaintClock paints(sinceFirst);
    table->viewport()->installEventFilter(&paints);

    QEventLoop loop;
    QTimer idle;
    idle.setSingleShot(true);
    QObject::connect(&idle, &QTimer::timeout, &loop, &QEventLoop::quit);
    idle.start(IdleMs);
    double cpuAtFirst = 0;
    // Every device counts, also those past the list's limit, once: the scan's
    // later tries bring the answers of the same devices again.
    QBitArray answered(expected + 1);
    QObject::connect(&endpoint, &MySocket::deviceReplied, &loop, [&](const DeviceRecord &device) {
        if (!sinceFirst.isValid()) {
            sinceFirst.start();
            cpuAtFirst = threadCpuMs();
        }
        idle.start(IdleMs);
        const int number = deviceNumber(device);
        if (number > expected || answered.testBit(number))
            return;
        answered.setBit(number);
        if (++listing.replies == expected)
            // Time for the last pass to end and its paint to happen.
            QTimer::singleShot(200, &loop, &QEventLoop::quit);
    });
    QObject::connect(table->model(), &QAbstractItemModel::rowsInserted, &loop, [&] {
        listing.firstToLastRowMs = sinceFirst.nsecsElapsed() / 1e6;
        listing.cpuMs = threadCpuMs() - cpuAtFirst;
    });

    // How late a 10 ms timer fires says how long the event loop was kept away.
    QElapsedTimer sinceTick;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, &loop, [&] {
        if (sinceFirst.isValid() && listing.replies < expected)
            listing.longestTickGapMs
                = qMax(listing.longestTickGapMs, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.start();
    });
    sinceTick.start();
    ticker.start(10);
    loop.exec();

    const auto *devices = window.findChild<DeviceListModel *>();
    listing.rows = devices->rowCount();
    listing.leftOut = devices->leftOutCount();
    const int firstDevices = qMin(expected, devices->maxListed());
    for (int row = 0; row < listing.rows; ++row) {
        listing.firstListed += deviceNumber(devices->record(row)) <= firstDevices ? 1 : 0;
    }
    listing.longestPaintGapMs = qMax(paints.longestGapMs,
        paints.lastMs < listing.firstToLastRowMs ? listing.firstToLastRowMs - paints.lastMs : 0.0);
    return listing;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int expected = argc == 2 ? QByteArray(argv[1]).toInt() : 0;
    if (expected <= 0) {
        std::fprintf(stderr, "usage: bench_listing N   (the simulator's --count)\n");
        return 2;
    }

    const Drain plain = plainDrain(expected);
    const qint64 dropsBeforeWindow = udpReceiveBufferErrors();
    const Listing listing = listInWindow(expected);
    const qint64 dropsAfter = udpReceiveBufferErrors();

    std::printf("%6d %6d %5d %8d %6d %9.1f %8.1f %6.1f %7.2f %7.2f %6lld %9.1f %8.1f %7d %6d "
                "%6lld\n",
        expected, listing.rows, expected - listing.replies, listing.leftOut, listing.firstListed,
        listing.firstToLastRowMs, plain.firstToLastMs,
        plain.firstToLastMs > 0 ? listing.firstToLastRowMs / plain.firstToLastMs : 0.0,
        1000.0 * listing.firstToLastRowMs / qMax(listing.rows, 1),
        1000.0 * listing.cpuMs / qMax(listing.rows, 1), peakResidentKib() / 1024,
        listing.longestPaintGapMs, listing.longestTickGapMs, listing.receiveBufferBytes / 1024,
        plain.replies, dropsAfter - dropsBeforeWindow);
    std::fflush(stdout);
    return 0;
}
