// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"
#include "mainwindow.h"
#include "programwindow.h"
#include "tablemarks.h"
#include "udpcounters.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTableView>
#include <QTimer>
#include <QtEndian>
#include <QtTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

// A flood of invalid datagrams with a few valid replies among them, sent to the
// window's endpoint over loopback from a second thread. NESDRIX_FLOOD_SECONDS sets
// how long (CI runs it briefly).
namespace {

constexpr int ValidReplies = 50;
constexpr int DatagramsPerSecond = 100000;
constexpr int MacColumn = 3;

QByteArray validReply(int number)
{
    Datagram::ScanReply reply;
    reply.deviceType = 1;
    reply.mac = QByteArray::fromHex("02000000aa00");
    reply.mac[5] = char(number);
    reply.name = QByteArrayLiteral("PLC").leftJustified(16, '\0');
    reply.version = QByteArray::fromHex("01020304");
    reply.network = QByteArray::fromHex("c0000200ffffff00c00002fe");
    reply.network[3] = char(number + 1);
    return Datagram::scanReplyDatagram(reply);
}

QByteArray randomBytes(QRandomGenerator &random, int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

// One invalid datagram of a kind chosen at random: noise, a cut or lengthened
// reply, or a reply whose frame or item length lies.
QByteArray invalidDatagram(QRandomGenerator &random)
{
    QByteArray reply = validReply(random.bounded(256));
    switch (random.bounded(5)) {
    case 0:
        return randomBytes(random, random.bounded(300));
    case 1:
        return reply.left(random.bounded(reply.size()));
    case 2:
        return reply + randomBytes(random, 1 + random.bounded(200));
    case 3:
        qToBigEndian(random.generate(), reply.data() + 10);
        return reply;
    default:
        qToBigEndian(
            random.generate(), reply.data() + Datagram::HeaderSize + 4 + 8 * random.bounded(3));
        return reply;
    }
}

QVector<QByteArray> invalidPool(int size)
{
    QRandomGenerator random(6);
    QVector<QByteArray> pool;
    while (pool.size() < size) {
        const QByteArray datagram = invalidDatagram(random);
        if (!Datagram::parseScanReply(datagram))
            pool.append(datagram);
    }
    return pool;
}

class Flooder
{
public:
    explicit Flooder(double seconds)
        : seconds(seconds)
        , invalid(invalidPool(4096))
    { }

    void run()
    {
        const int socket = ::socket(AF_INET, SOCK_DGRAM, 0);
        // Over loopback a datagram counts against the sender's buffer until it is
        // read: a small one would let the receiver slow the flood down.
        const int sendBuffer = 8 * 1024 * 1024;
        ::setsockopt(socket, SOL_SOCKET, SO_SNDBUF, &sendBuffer, sizeof sendBuffer);
        ::setsockopt(socket, SOL_SOCKET, SO_SNDBUFFORCE, &sendBuffer, sizeof sendBuffer);
        sockaddr_in endpoint {};
        endpoint.sin_family = AF_INET;
        endpoint.sin_port = htons(Datagram::DevicePort);
        endpoint.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const auto send = [&](const QByteArray &datagram) {
            ::sendto(socket, datagram.constData(), size_t(datagram.size()), 0,
                reinterpret_cast<const sockaddr *>(&endpoint), sizeof endpoint);
        };

        using Clock = std::chrono::steady_clock;
        constexpr int SlicesPerSecond = 1000;
        const int total = int(seconds * DatagramsPerSecond);
        const int validEvery = total / ValidReplies;
        const Clock::time_point start = Clock::now();
        for (int slice = 0; sent < total; ++slice) {
            for (int i = 0; i < DatagramsPerSecond / SlicesPerSecond && sent < total; ++i) {
                if (sent % validEvery == validEvery / 2 && validSent < ValidReplies)
                    send(validReply(validSent++));
                else
                    send(invalid.at(sent % invalid.size()));
                ++sent;
            }
            std::this_thread::sleep_until(
                start + std::chrono::microseconds(1000000 / SlicesPerSecond) * (slice + 1));
        }
        ::close(socket);
        done = true;
    }

    const double seconds;
    const QVector<QByteArray> invalid;
    int sent = 0;
    int validSent = 0;
    std::atomic<bool> done { false };
};

} // namespace

class TestFlood : public QObject
{
    Q_OBJECT

private slots:
    void validRepliesSurviveFlood();
};

void TestFlood::validRepliesSurviveFlood()
{
    const double seconds
        = qEnvironmentVariable("NESDRIX_FLOOD_SECONDS", QStringLiteral("1")).toDouble();
    ProgramWindow program;
    MainWindow &window = program.window;
    window.show();
    auto *table = window.findChild<QTableView *>(QStringLiteral("tableWidget"));
    QVERIFY(table);
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // The lateness of a 10 ms timer says how long the event loop was kept away.
    QElapsedTimer sinceTick;
    qint64 longestGapMs = 0;
    int ticks = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    connect(&ticker, &QTimer::timeout, this, [&] {
        longestGapMs = qMax(longestGapMs, sinceTick.restart());
        ++ticks;
    });

    const qint64 dropsBefore = udpReceiveBufferErrors();
    QVERIFY2(dropsBefore >= 0, "/proc/net/snmp holds no UDP RcvbufErrors counter");
    Flooder flooder(seconds);
    QElapsedTimer flood;
    flood.start();
    sinceTick.start();
    ticker.start(10);
    std::thread sender([&] { flooder.run(); });
    const bool finished
        = QTest::qWaitFor([&] { return flooder.done.load(); }, int(seconds * 1000) + 60000);
    sender.join();
    const qint64 floodMs = flood.elapsed();
    (void)QTest::qWaitFor([&] { return table->model()->rowCount() == ValidReplies; }, 5000);
    ticker.stop();
    QVERIFY(finished);
    const qint64 drops = udpReceiveBufferErrors() - dropsBefore;

    qInfo("flood: %d datagrams (%d valid) in %lld ms; %d rows; 10 ms timer fired %d times, "
          "longest gap %lld ms (late by %lld ms); kernel receive-buffer drops %lld",
        flooder.sent, flooder.validSent, floodMs, table->model()->rowCount(), ticks, longestGapMs,
        longestGapMs - 10, drops);
    QCOMPARE(flooder.validSent, ValidReplies);
    // Only valid replies are rows, in the order they were sent.
    int previous = -1;
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        const QString mac = cellText(table->model(), row, MacColumn);
        QVERIFY2(mac.startsWith(QStringLiteral("02:00:00:00:AA:")), qPrintable(mac));
        const int number = mac.right(2).toInt(nullptr, 16);
        QVERIFY(number > previous);
        previous = number;
    }
    // The namespace holds only this flood: a valid reply may be missing only
    // where the kernel counted a datagram it dropped.
    QVERIFY2(table->model()->rowCount() >= ValidReplies - drops,
        qPrintable(QStringLiteral("%1 of %2 valid replies listed, %3 datagrams dropped")
                       .arg(table->model()->rowCount())
                       .arg(ValidReplies)
                       .arg(drops)));
}

QTEST_MAIN(TestFlood)
#include "tst_flood.moc"
