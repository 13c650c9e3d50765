// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"
#include "devicesettingssource.h"
#include "mysocket.h"
#include "testpeer.h"

#include <QHostAddress>
#include <QTimer>
#include <QUdpSocket>
#include <QtTest>

namespace {

const QString DeviceMac = QStringLiteral("00:1A:2B:3C:4D:5E");

struct FixedSettings : DeviceSettingsSource
{
    QString tableMacText() const override { return DeviceMac; }
    QString macText() const override { return DeviceMac; }
    QString deviceNameText() const override { return QStringLiteral("PLC1"); }
    QString ipText() const override { return QStringLiteral("192.168.1.10"); }
    QString netMaskText() const override { return QStringLiteral("255.255.255.0"); }
    QString gateWayText() const override { return QStringLiteral("192.168.1.1"); }
};

QByteArray replyFor(quint8 type, const QByteArray &mac, const QByteArray &name)
{
    Datagram::ScanReply reply;
    reply.deviceType = type;
    reply.mac = mac;
    reply.name = name.leftJustified(16, '\0');
    reply.version = QByteArray::fromHex("0102000a");
    reply.network = QByteArray::fromHex("c0a8010affffff00c0a80101");
    return Datagram::scanReplyDatagram(reply);
}

} // namespace

class TestMySocket : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstRequestCarriesSequenceZero();
    void sequenceNumbersRunAcrossKinds();
    void repliesInOnePassEachEmit();
    void invalidReplyIsDropped();
    void flashTimerRepeatsAndStops();
    void flashTimerIsNeverDoubled();
    void modifyRequestGoesToTheDevice();
    void failedBindIsRecorded();

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
    endpoint->setDeviceIp(TestPeer::DeviceIp);
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
    endpoint->udpSendCmdScan();
    QTRY_COMPARE(peer->broadcasts.size(), 1);
    QCOMPARE(peer->broadcasts.first(), Datagram::scanRequest(0));
}

void TestMySocket::sequenceNumbersRunAcrossKinds()
{
    FixedSettings settings;
    endpoint->udpSendCmdScan();
    endpoint->udpSendCmdLedsFlash(DeviceMac);
    endpoint->udpSendCmdModify(&settings);
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
    QList<QByteArray> seen;
    connect(endpoint, &MySocket::updPackReceived, this, [&] {
        seen << endpoint->replyTypeName + '|' + endpoint->replyMac.toHex() + '|'
                + endpoint->replyName;
    });
    // Both are queued before the event loop looks at the socket again.
    peer->sendToProgram(replyFor(1, QByteArray::fromHex("000000000001"), "first"));
    peer->sendToProgram(replyFor(4, QByteArray::fromHex("000000000002"), "second"));
    QTRY_COMPARE(seen.size(), 2);
    QCOMPARE(seen.at(0), "PLC|000000000001|" + QByteArray("first").leftJustified(16, '\0'));
    QCOMPARE(seen.at(1), "VFD|000000000002|" + QByteArray("second").leftJustified(16, '\0'));
    QCOMPARE(endpoint->replyNetwork.toHex(), QByteArray("c0a8010affffff00c0a80101"));
    QCOMPARE(endpoint->replyVersion.toHex(), QByteArray("0102000a"));
    QVERIFY(endpoint->replyPoints.isEmpty());
}

void TestMySocket::invalidReplyIsDropped()
{
    QList<QByteArray> macs;
    connect(
        endpoint, &MySocket::updPackReceived, this, [&] { macs << endpoint->replyMac.toHex(); });
    QByteArray invalid = replyFor(1, QByteArray::fromHex("0000000000ff"), "broken");
    invalid[9] = 4;
    peer->sendToProgram(replyFor(1, QByteArray::fromHex("000000000001"), "first"));
    QTRY_COMPARE(macs.size(), 1);
    peer->sendToProgram(invalid);
    peer->sendToProgram(QByteArray());
    peer->sendToProgram(replyFor(1, QByteArray::fromHex("000000000002"), "second"));
    QTRY_COMPARE(macs.size(), 2);
    QCOMPARE(macs, QList<QByteArray>({ "000000000001", "000000000002" }));
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

    const QByteArray flash = Datagram::ledsRequest(
        0, Datagram::macTextToBytes(DeviceMac), Datagram::LedCommand::Flash);
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
    FixedSettings settings;
    endpoint->udpSendCmdModify(&settings);
    endpoint->waitForUdpWritten();
    QTRY_COMPARE(peer->unicasts.size(), 1);
    const QByteArray datagram = peer->unicasts.first();
    QCOMPARE(datagram.size(), Datagram::ModifyRequestSize);
    QCOMPARE(datagram.right(12).toHex(), QByteArray("c0a8010affffff00c0a80101"));
}

void TestMySocket::failedBindIsRecorded()
{
    cleanup();
    // A socket that does not share its port keeps the endpoint out.
    QUdpSocket blocker;
    QVERIFY2(blocker.bind(
                 QHostAddress::AnyIPv4, Datagram::DevicePort, QAbstractSocket::DontShareAddress),
        qPrintable(blocker.errorString()));
    MySocket blocked;
    blocked.initUdpSocket();
    QVERIFY(!blocked.isBound());
    QVERIFY(!blocked.bindErrorString().isEmpty());
}

QTEST_GUILESS_MAIN(TestMySocket)
#include "tst_mysocket.moc"
