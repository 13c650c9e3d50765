// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"
#include "ledsession.h"
#include "mysocket.h"
#include "passedsocket.h"
#include "testdevices.h"
#include "testpeer.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QTcpServer>
#include <QTimer>
#include <QUdpSocket>
#include <QtTest>

#include <unistd.h>

namespace {

const MacAddress DeviceMac = macOf(QStringLiteral("00:1A:2B:3C:4D:5E"));
// The test device on loopback, heard on no known adapter: reached by unicast.
DeviceTarget peerDevice()
{
    return { DeviceMac, ipOf(TestPeer::DeviceIp) };
}
// No route leads there from the test's namespace.
const DeviceTarget Unreachable { DeviceMac, ipOf(QStringLiteral("203.0.113.10")) };

const DeviceSettings NewSettings { ipOf(QStringLiteral("192.168.1.10")),
    ipOf(QStringLiteral("255.255.255.0")), ipOf(QStringLiteral("192.168.1.1")) };

bool sendModify(MySocket &endpoint, const DeviceTarget &target)
{
    return endpoint.udpSendCmdModify(
        target, DeviceMac, Datagram::nameFieldBytes(QStringLiteral("PLC1")), NewSettings);
}

QByteArray replyFor(quint8 type, const char *mac, const char *name)
{
    TestDevice device;
    device.type = type;
    device.mac = QLatin1String(mac);
    device.name = QLatin1String(name);
    device.ip = QStringLiteral("192.168.1.10");
    device.gateway = QStringLiteral("192.168.1.1");
    return device.datagram();
}

Datagram::Request::Kind requestKind(const QByteArray &datagram)
{
    return Datagram::parseRequest(datagram).value_or(Datagram::Request()).kind;
}

} // namespace

class TestMySocket : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstRequestCarriesSequenceZero();
    void flashFailureIsToldOncePerSession();
    void sequenceNumbersRunAcrossKinds();
    void repliesInOnePassEachEmit();
    void invalidReplyIsDropped();
    void ledSessionRepeatsAndStopsOnce();
    void modifyRequestGoesToTheDevice();
    void failedBindIsRecorded_data();
    void failedBindIsRecorded();
    void closedEndpointSendsNothing();
    void passedSocketIsChecked_data();
    void passedSocketIsChecked();
    void handoverIsTakenOnce_data();
    void handoverIsTakenOnce();

private:
    MySocket *endpoint = nullptr;
    TestPeer *peer = nullptr;
};

void TestMySocket::init()
{
    peer = new TestPeer(this);
    QString error;
    QVERIFY2(peer->bind(&error), qPrintable(error));
    endpoint = new MySocket;
    QVERIFY2(endpoint->initUdpSocket(), qPrintable(endpoint->bindErrorString()));
}

void TestMySocket::cleanup()
{
    delete endpoint;
    endpoint = nullptr;
    delete peer;
    peer = nullptr;
}

void TestMySocket::firstRequestCarriesSequenceZero()
{
    // tests/netns-run.sh gives the namespace one adapter besides loopback.
    const ScanReport report = endpoint->udpSendCmdScan();
    QCOMPARE(report.adapters.size(), 1);
    QCOMPARE(report.adapters.first().name, QStringLiteral("nxrun0"));
    QVERIFY2(report.anySent(), qPrintable(report.adapters.first().error));
    QTRY_COMPARE(peer->broadcasts.size(), 1);
    QCOMPARE(peer->broadcasts.first(), Datagram::scanRequest(0));
}

void TestMySocket::flashFailureIsToldOncePerSession()
{
    LedSession leds(endpoint, Unreachable);
    QSignalSpy failures(&leds, &LedSession::sendFailed);
    QVERIFY(!leds.start());
    QVERIFY(!leds.errorString().isEmpty());
    // It keeps trying, a cable may be plugged in meanwhile, and tells nothing more.
    QTest::qWait(3 * LedSession::RepeatMs);
    QVERIFY(leds.isRunning());
    QVERIFY(!leds.stop());
    QCOMPARE(failures.size(), 1);
    QCOMPARE(failures.first().first().toString(), leds.errorString());
    // A new session tells its own failure.
    LedSession again(endpoint, Unreachable);
    QSignalSpy againFailures(&again, &LedSession::sendFailed);
    QVERIFY(!again.start());
    QCOMPARE(againFailures.size(), 1);
}

void TestMySocket::sequenceNumbersRunAcrossKinds()
{
    endpoint->udpSendCmdScan();
    endpoint->udpSendCmdLedsFlash(peerDevice());
    sendModify(*endpoint, peerDevice());
    endpoint->udpSendCmdLedsStop(peerDevice());
    endpoint->udpSendCmdScan();
    QTRY_COMPARE(peer->broadcasts.size(), 2);
    QTRY_COMPARE(peer->unicasts.size(), 3);
    QCOMPARE(sequenceNoOf(peer->broadcasts.at(0)), 0u);
    QCOMPARE(sequenceNoOf(peer->unicasts.at(0)), 1u);
    QCOMPARE(sequenceNoOf(peer->unicasts.at(1)), 2u);
    QCOMPARE(sequenceNoOf(peer->unicasts.at(2)), 3u);
    QCOMPARE(sequenceNoOf(peer->broadcasts.at(1)), 4u);
}

void TestMySocket::repliesInOnePassEachEmit()
{
    QList<DeviceRecord> seen;
    connect(endpoint, &MySocket::deviceReplied, this,
        [&](const DeviceRecord &device) { seen << device; });
    // Both are queued before the event loop looks at the socket again.
    peer->sendToProgram(replyFor(1, "00:00:00:00:00:01", "first"));
    peer->sendToProgram(replyFor(4, "00:00:00:00:00:02", "second"));
    QTRY_COMPARE(seen.size(), 2);
    const auto summary = [](const DeviceRecord &device) {
        return QStringList { device.typeText(), device.mac.toString(),
            QString::fromLatin1(device.nameBytes.toHex()), device.ip.toString(),
            device.mask.toString(), device.gateway.toString(), device.version, device.points };
    };
    QCOMPARE(summary(seen.at(0)),
        QStringList({ "PLC", "00:00:00:00:00:01", "66697273740000000000000000000000",
            "192.168.1.10", "255.255.255.0", "192.168.1.1", "1.2.0.10", "" }));
    QCOMPARE(seen.at(1).typeText(), QStringLiteral("VFD"));
    QCOMPARE(seen.at(1).name(), QStringLiteral("second"));
    // Where the reply was heard, for the requests to that device.
    QCOMPARE(seen.at(1).interfaceIndex, QNetworkInterface::interfaceIndexFromName("lo"));
    QCOMPARE(seen.at(1).senderAddress, ipOf(TestPeer::DeviceIp));
}

void TestMySocket::invalidReplyIsDropped()
{
    QStringList macs;
    connect(endpoint, &MySocket::deviceReplied, this,
        [&](const DeviceRecord &device) { macs << device.mac.toString(); });
    QByteArray invalid = replyFor(1, "00:00:00:00:00:FF", "broken");
    invalid[9] = 4;
    peer->sendToProgram(replyFor(1, "00:00:00:00:00:01", "first"));
    QTRY_COMPARE(macs.size(), 1);
    peer->sendToProgram(invalid);
    peer->sendToProgram(QByteArray());
    peer->sendToProgram(replyFor(1, "00:00:00:00:00:02", "second"));
    QTRY_COMPARE(macs.size(), 2);
    QCOMPARE(macs, QStringList({ "00:00:00:00:00:01", "00:00:00:00:00:02" }));
}

void TestMySocket::ledSessionRepeatsAndStopsOnce()
{
    LedSession leds(endpoint, peerDevice());
    QVERIFY2(leds.start(), qPrintable(leds.errorString()));
    QVERIFY(leds.isRunning());
    QTRY_VERIFY_WITH_TIMEOUT(peer->unicasts.size() >= 3, 5000);
    QVERIFY(leds.stop());
    QVERIFY(!leds.isRunning());
    QVERIFY(leds.stop());
    QTRY_VERIFY(!peer->unicasts.isEmpty()
        && requestKind(peer->unicasts.last()) == Datagram::Request::LedsStop);
    const int sent = peer->unicasts.size();
    QTest::qWait(2 * LedSession::RepeatMs);

    QCOMPARE(peer->unicasts.size(), sent);
    QList<Datagram::Request::Kind> kinds;
    for (const QByteArray &datagram : qAsConst(peer->unicasts)) {
        const std::optional<Datagram::Request> request = Datagram::parseRequest(datagram);
        QVERIFY(request && request->targetMac == DeviceMac);
        kinds << request->kind;
    }
    QCOMPARE(kinds.count(Datagram::Request::LedsStop), 1);
    QCOMPARE(kinds.count(Datagram::Request::LedsFlash), sent - 1);
}

void TestMySocket::modifyRequestGoesToTheDevice()
{
    QVERIFY(sendModify(*endpoint, peerDevice()));
    QTRY_COMPARE(peer->unicasts.size(), 1);
    const QByteArray datagram = peer->unicasts.first();
    QCOMPARE(datagram.size(), Datagram::ModifyRequestSize);
    QCOMPARE(datagram.right(12).toHex(), QByteArray("c0a8010affffff00c0a80101"));
}

void TestMySocket::failedBindIsRecorded_data()
{
    QTest::addColumn<bool>("anotherEndpoint");
    QTest::newRow("another program's socket") << false;
    QTest::newRow("a second Nesdrix") << true;
}

void TestMySocket::failedBindIsRecorded()
{
    QFETCH(bool, anotherEndpoint);
    if (!anotherEndpoint)
        cleanup();
    // Neither shares its port: the endpoint is kept out and says why.
    QUdpSocket blocker;
    QVERIFY2(anotherEndpoint
            || blocker.bind(
                QHostAddress::AnyIPv4, Datagram::DevicePort, QAbstractSocket::DontShareAddress),
        qPrintable(blocker.errorString()));
    MySocket blocked;
    QVERIFY(!blocked.initUdpSocket());
    QVERIFY(!blocked.isBound());
    QVERIFY2(blocked.bindErrorString().contains(QStringLiteral("in use")),
        qPrintable(blocked.bindErrorString()));
}

void TestMySocket::closedEndpointSendsNothing()
{
    cleanup();
    TestPeer device;
    QString error;
    QVERIFY2(device.bind(&error), qPrintable(error));
    QUdpSocket blocker;
    QVERIFY2(blocker.bind(QHostAddress::AnyIPv4, Datagram::DevicePort),
        qPrintable(blocker.errorString()));
    MySocket closed;
    QVERIFY(!closed.initUdpSocket());

    const ScanReport scan = closed.udpSendCmdScan();
    QVERIFY(scan.notOpen && !scan.anySent() && !scan.noAdapter());
    QVERIFY(!closed.udpSendCmdLedsFlash(peerDevice()));
    QCOMPARE(closed.lastSendError(), MySocket::notOpenText());
    QVERIFY(!sendModify(closed, peerDevice()));
    LedSession leds(&closed, peerDevice());
    QSignalSpy failures(&leds, &LedSession::sendFailed);
    QVERIFY(!leds.start());
    QCOMPARE(failures.size(), 1);
    QVERIFY(!leds.stop());

    // Anything sent before it would have arrived before this marker.
    const QByteArray marker("marker");
    QVERIFY(
        blocker.writeDatagram(marker, QHostAddress(TestPeer::DeviceIp), Datagram::DevicePort) > 0);
    QTRY_COMPARE(device.unicasts.size(), 1);
    QCOMPARE(device.unicasts.first(), marker);
    QVERIFY(device.broadcasts.isEmpty());
}

void TestMySocket::passedSocketIsChecked_data()
{
    QTest::addColumn<QAbstractSocket::SocketType>("type");
    QTest::addColumn<quint16>("port");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("UDP on port 102") << QAbstractSocket::UdpSocket << Datagram::DevicePort << true;
    QTest::newRow("UDP on another port") << QAbstractSocket::UdpSocket << quint16(0) << false;
    QTest::newRow("TCP") << QAbstractSocket::TcpSocket << Datagram::DevicePort << false;
}

void TestMySocket::passedSocketIsChecked()
{
    QFETCH(QAbstractSocket::SocketType, type);
    QFETCH(quint16, port);
    QFETCH(bool, accepted);
    cleanup();
    QUdpSocket udp;
    QTcpServer tcp;
    const bool isUdp = type == QAbstractSocket::UdpSocket;
    QVERIFY(
        isUdp ? udp.bind(QHostAddress::AnyIPv4, port) : tcp.listen(QHostAddress::AnyIPv4, port));
    const int descriptor = int(isUdp ? udp.socketDescriptor() : tcp.socketDescriptor());
    QCOMPARE(passedSocketProblem(descriptor).isEmpty(), accepted);
}

void TestMySocket::handoverIsTakenOnce_data()
{
    QTest::addColumn<bool>("forThisProcess");
    QTest::addColumn<QByteArray>("count");
    QTest::addColumn<int>("descriptor");
    QTest::addColumn<int>("launcherErrno");
    QTest::newRow("one socket") << true << QByteArray("1") << 3 << 0;
    QTest::newRow("launcher could not bind") << true << QByteArray() << -1 << int(EADDRINUSE);
    QTest::newRow("for another process") << false << QByteArray("1") << -1 << 0;
    QTest::newRow("two sockets") << true << QByteArray("2") << -1 << 0;
}

void TestMySocket::handoverIsTakenOnce()
{
    QFETCH(bool, forThisProcess);
    QFETCH(QByteArray, count);
    QFETCH(int, descriptor);
    QFETCH(int, launcherErrno);
    qputenv("LISTEN_PID", QByteArray::number(forThisProcess ? ::getpid() : ::getppid()));
    qputenv("LISTEN_FDS", count);
    qputenv("LISTEN_FDNAMES", "device");
    qputenv("NESDRIX_BIND_ERRNO", QByteArray::number(launcherErrno));
    const PassedSocket passed = takePassedSocket();
    QCOMPARE(passed.descriptor, descriptor);
    QCOMPARE(passed.launcherBindErrno, launcherErrno);
    for (const char *variable :
        { "LISTEN_PID", "LISTEN_FDS", "LISTEN_FDNAMES", "NESDRIX_BIND_ERRNO" })
        QVERIFY2(!qEnvironmentVariableIsSet(variable), variable);
}

QTEST_GUILESS_MAIN(TestMySocket)
#include "tst_mysocket.moc"
