// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"
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

Datagram::ModifyFields fixedSettings()
{
    Datagram::ModifyFields fields;
    fields.targetMac = DeviceMac;
    fields.mac = DeviceMac;
    fields.name = Datagram::nameFieldBytes(QStringLiteral("PLC1"));
    fields.settings = { ipOf(QStringLiteral("192.168.1.10")), ipOf(QStringLiteral("255.255.255.0")),
        ipOf(QStringLiteral("192.168.1.1")) };
    return fields;
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

} // namespace

class TestMySocket : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstRequestCarriesSequenceZero();
    void flashFailureIsToldOncePerRun();
    void sequenceNumbersRunAcrossKinds();
    void repliesInOnePassEachEmit();
    void invalidReplyIsDropped();
    void flashTimerRepeatsAndStops();
    void flashTimerIsNeverDoubled();
    void modifyRequestGoesToTheDevice();
    void failedBindIsRecorded_data();
    void failedBindIsRecorded();
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
    endpoint->initUdpSocket();
    QVERIFY2(endpoint->isBound(), qPrintable(endpoint->bindErrorString()));
    endpoint->setDeviceIp(ipOf(TestPeer::DeviceIp));
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

void TestMySocket::flashFailureIsToldOncePerRun()
{
    QSignalSpy failures(endpoint, &MySocket::sendFailed);
    // No route leads there from the test's namespace.
    endpoint->setDeviceIp(ipOf(QStringLiteral("203.0.113.10")));
    QVERIFY(!endpoint->udpSendCmdLedsFlash(DeviceMac));
    QVERIFY(!endpoint->lastSendError().isEmpty());
    endpoint->startLedsFlashTimer();
    QSignalSpy ticks(endpoint->findChild<QTimer *>(), &QTimer::timeout);
    QTRY_VERIFY(ticks.size() >= 2);
    endpoint->stopLedsFlashTimer();
    QCOMPARE(failures.size(), 1);
    QCOMPARE(failures.first().first().toString(), endpoint->lastSendError());
    QVERIFY(!endpoint->udpSendCmdLedsFlash(DeviceMac));
    QCOMPARE(failures.size(), 2);
}

void TestMySocket::sequenceNumbersRunAcrossKinds()
{
    endpoint->udpSendCmdScan();
    endpoint->udpSendCmdLedsFlash(DeviceMac);
    endpoint->udpSendCmdModify(fixedSettings());
    endpoint->udpSendCmdLedsStop(DeviceMac);
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

void TestMySocket::flashTimerRepeatsAndStops()
{
    endpoint->udpSendCmdLedsFlash(DeviceMac);
    endpoint->startLedsFlashTimer();
    auto *timer = endpoint->findChild<QTimer *>();
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 500);
    QVERIFY(!timer->isSingleShot());
    QTRY_VERIFY_WITH_TIMEOUT(peer->unicasts.size() >= 3, 5000);
    endpoint->stopLedsFlashTimer();
    QVERIFY(!endpoint->findChild<QTimer *>());

    const QByteArray flash = Datagram::ledsRequest(0, DeviceMac, Datagram::LedCommand::Flash);
    for (const QByteArray &datagram : qAsConst(peer->unicasts))
        QCOMPARE(datagram.mid(18).toHex(), flash.mid(18).toHex());
}

void TestMySocket::flashTimerIsNeverDoubled()
{
    endpoint->udpSendCmdLedsFlash(DeviceMac);
    endpoint->startLedsFlashTimer();
    endpoint->startLedsFlashTimer();
    QCOMPARE(endpoint->findChildren<QTimer *>().size(), 1);
    endpoint->stopLedsFlashTimer();
    endpoint->stopLedsFlashTimer();
    QVERIFY(endpoint->findChildren<QTimer *>().isEmpty());
}

void TestMySocket::modifyRequestGoesToTheDevice()
{
    endpoint->udpSendCmdModify(fixedSettings());
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
    blocked.initUdpSocket();
    QVERIFY(!blocked.isBound());
    QVERIFY2(blocked.bindErrorString().contains(QStringLiteral("in use")),
        qPrintable(blocked.bindErrorString()));
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
