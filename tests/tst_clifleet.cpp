// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"
#include "fleet.h"
#include "interruptwatcher.h"
#include "testdevices.h"
#include "testpeer.h"

#include <QtTest>

#include <csignal>

namespace {

const MacAddress DeviceMac = macOf(QStringLiteral("00:1A:2B:3C:4D:5E"));

QByteArray replyFor(const char *mac, const QString &ip)
{
    TestDevice device;
    device.type = 3;
    device.name = QStringLiteral("Axis X");
    device.mac = QLatin1String(mac);
    device.ip = ip;
    device.gateway = QStringLiteral("127.0.0.1");
    return device.datagram();
}

DeviceRecord peerDevice(const QByteArray &nameBytes)
{
    DeviceRecord device;
    device.mac = DeviceMac;
    device.nameBytes = nameBytes;
    device.ip = ipOf(TestPeer::DeviceIp);
    return device;
}

} // namespace

class TestCliFleet : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void scanKeepsEveryReplyOfTheWindow();
    void writeKeepsTheDeviceMacAndName_data();
    void writeKeepsTheDeviceMacAndName();
    void flashingEndsWithTheStopRequest();
    void sharedAddressIsReachedByBroadcast();
    void interruptEndsEveryWait();

private:
    TestPeer *peer = nullptr;
    InterruptWatcher *watcher = nullptr;
    Fleet *fleet = nullptr;
};

void TestCliFleet::init()
{
    peer = new TestPeer(this);
    QString error;
    QVERIFY2(peer->bind(&error), qPrintable(error));
    watcher = new InterruptWatcher(this);
    fleet = new Fleet(watcher, this);
    QVERIFY2(fleet->open(), qPrintable(fleet->bindErrorString()));
}

void TestCliFleet::cleanup()
{
    delete fleet;
    fleet = nullptr;
    delete watcher;
    watcher = nullptr;
    delete peer;
    peer = nullptr;
}

void TestCliFleet::scanKeepsEveryReplyOfTheWindow()
{
    QTimer::singleShot(0, this, [this] {
        peer->sendToProgram(replyFor("00:1A:2B:3C:4D:5E", "127.0.0.2"));
        peer->sendToProgram(QByteArray("KORVAN too short"));
        peer->sendToProgram(replyFor("00:1A:2B:3C:4D:5F", "127.0.0.2"));
    });
    const QVector<DeviceRecord> devices = fleet->scan(500);

    // The default tries, each with the next sequence number, before the wait.
    QCOMPARE(peer->broadcasts,
        QList<QByteArray>(
            { Datagram::scanRequest(0), Datagram::scanRequest(1), Datagram::scanRequest(2) }));
    QCOMPARE(devices.size(), 2);
    QCOMPARE(devices.at(0).mac, DeviceMac);
    QCOMPARE(devices.at(0).typeText(), QStringLiteral("SERVO"));
    QCOMPARE(devices.at(0).name(), QStringLiteral("Axis X"));
    QCOMPARE(devices.at(1).mac, macOf(QStringLiteral("00:1A:2B:3C:4D:5F")));
    const DeviceListModel &listed = fleet->listedDevices();
    QVERIFY(listed.isDuplicateIp(0) && listed.isDuplicateIp(1));
    QVERIFY(!listed.isDuplicateMac(0) && !listed.isDuplicateMac(1));
}

void TestCliFleet::writeKeepsTheDeviceMacAndName_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("field");

    QTest::newRow("ASCII") << QByteArray("Axis X\0\0", 8) << QByteArray("Axis X          ");
    QTest::newRow("Chinese") << QByteArray("伺服 X") << QByteArray("伺服 X        ");
    QTest::newRow("sixteen bytes")
        << QByteArray("Module 16 bytes!") << QByteArray("Module 16 bytes!");
    QTest::newRow("GBK, kept as it came") << QByteArray::fromHex(
        "b1c3d5be31") << QByteArray::fromHex("b1c3d5be31").leftJustified(16, ' ');
}

void TestCliFleet::writeKeepsTheDeviceMacAndName()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, field);

    const PlanEntry target { 1, DeviceMac,
        { ipOf(QStringLiteral("192.0.2.10")), ipOf(QStringLiteral("255.255.255.192")),
            ipOf(QStringLiteral("192.0.2.62")) } };
    fleet->write(peerDevice(name), target);

    QTRY_COMPARE(peer->unicasts.size(), 1);
    const std::optional<Datagram::Request> request = Datagram::parseRequest(peer->unicasts.first());
    QVERIFY(request);
    QCOMPARE(request->kind, Datagram::Request::Modify);
    QCOMPARE(request->targetMac, DeviceMac);
    QCOMPARE(request->modify.mac, DeviceMac);
    QCOMPARE(request->modify.name.toHex(' '), field.toHex(' '));
    QCOMPARE(request->modify.settings.toBytes().toHex(), QByteArray("c000020affffffc0c000023e"));
}

void TestCliFleet::flashingEndsWithTheStopRequest()
{
    const DeviceRecord device = peerDevice("Axis X");
    fleet->startFlashing(device);
    QVERIFY(fleet->pause(700));
    fleet->stopFlashing(device);

    QTRY_VERIFY(peer->unicasts.size() >= 3);
    QList<Datagram::Request::Kind> kinds;
    for (const QByteArray &datagram : qAsConst(peer->unicasts)) {
        const std::optional<Datagram::Request> request = Datagram::parseRequest(datagram);
        QVERIFY(request);
        QCOMPARE(request->targetMac, DeviceMac);
        kinds << request->kind;
    }
    QCOMPARE(kinds.count(Datagram::Request::LedsStop), 1);
    QCOMPARE(kinds.last(), Datagram::Request::LedsStop);
}

void TestCliFleet::sharedAddressIsReachedByBroadcast()
{
    QTimer::singleShot(0, this, [this] {
        peer->sendToProgram(replyFor("00:1A:2B:3C:4D:5E", TestPeer::DeviceIp));
        peer->sendToProgram(replyFor("00:1A:2B:3C:4D:5F", TestPeer::DeviceIp));
    });
    const DeviceRecord device = fleet->scan(500).constFirst();
    peer->broadcasts.clear();
    const PlanEntry target { 1, DeviceMac,
        { ipOf(QStringLiteral("192.0.2.10")), ipOf(QStringLiteral("255.255.255.0")),
            ipOf(QStringLiteral("192.0.2.1")) } };
    fleet->startFlashing(device);
    fleet->stopFlashing(device);
    fleet->write(device, target);

    QTRY_COMPARE(peer->broadcasts.size(), 3);
    QList<Datagram::Request::Kind> kinds;
    for (const QByteArray &datagram : qAsConst(peer->broadcasts)) {
        const std::optional<Datagram::Request> request = Datagram::parseRequest(datagram);
        QVERIFY(request);
        QCOMPARE(request->targetMac, DeviceMac);
        kinds << request->kind;
    }
    QCOMPARE(kinds,
        QList<Datagram::Request::Kind>({ Datagram::Request::LedsFlash, Datagram::Request::LedsStop,
            Datagram::Request::Modify }));
    QVERIFY(peer->unicasts.isEmpty());
}

void TestCliFleet::interruptEndsEveryWait()
{
    QTimer::singleShot(0, this, [] { std::raise(SIGINT); });
    QVERIFY(!fleet->pause(600000));
    QVERIFY(watcher->isInterrupted());
    // Once interrupted, no later wait starts: the batch ends at the write in hand.
    QVERIFY(!fleet->pause(600000));
}

QTEST_GUILESS_MAIN(TestCliFleet)
#include "tst_clifleet.moc"
