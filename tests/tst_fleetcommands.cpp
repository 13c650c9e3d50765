// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "ledsession.h"
#include "mysocket.h"
#include "simulatorlog.h"
#include "testdevices.h"

#include <QtTest>

namespace {

// Settings for the device "Fan VFD" of tests/fleets/five-devices.txt, which
// shares its IP address with "Panel 1".
const QString SharedIp = QStringLiteral("192.0.2.65");
// How long a simulated device flashes after the last flash request.
constexpr int SimulatorFlashHoldMs = 1500;

// A device of the fleet at the shared address.
DeviceTarget at(const char *mac)
{
    return { macOf(QLatin1String(mac)), ipOf(SharedIp) };
}
const int FleetSize = 5;

} // namespace

// LED and modify requests from the real endpoint to the simulator (started
// with --restart-after-ms), checked in the simulator's log and by scanning again.
class TestFleetCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void flashingFollowsFlashAndStopRequests();
    void flashingEndsWhenRequestsStop();
    void requestsForAnotherMacAreIgnored();
    void modifyChangesTheDeviceAfterItsRestart();

private:
    // Scans and waits for the whole fleet; gives "MAC network" of each reply.
    QStringList scan();
    // Gives the device "Fan VFD" a new MAC and addresses.
    void writeNewSettings(const DeviceTarget &target);

    MySocket endpoint;
    QStringList replies;
};

void TestFleetCommands::initTestCase()
{
    QVERIFY2(!simulatorLog().isEmpty(), "run through tests/netns-fleet.sh");
    endpoint.initUdpSocket();
    QVERIFY2(endpoint.isBound(), qPrintable(endpoint.bindErrorString()));
    connect(&endpoint, &MySocket::deviceReplied, this, [this](const DeviceRecord &device) {
        replies.append(QStringLiteral("%1 %2.%3.%4")
                           .arg(device.mac.toString(), device.ip.toString(), device.mask.toString(),
                               device.gateway.toString()));
    });
}

void TestFleetCommands::flashingFollowsFlashAndStopRequests()
{
    const QString on = QStringLiteral("LED flashing on: 02:4E:58:00:00:02 192.0.2.65 Panel 1");
    const QString off
        = QStringLiteral("LED flashing off: 02:4E:58:00:00:02 192.0.2.65 Panel 1 (stop request)");
    LedSession leds(&endpoint, at("02:4e:58:00:00:02"));
    QVERIFY2(leds.start(), qPrintable(leds.errorString()));
    QTRY_COMPARE(simulatorLogCount(on), 1);
    // The repeats keep it flashing past the time a device waits for the next request.
    QTest::qWait(2 * SimulatorFlashHoldMs);
    QCOMPARE(simulatorLogCount(QStringLiteral("LED flashing off: 02:4E:58:00:00:02")), 0);
    QVERIFY2(leds.stop(), qPrintable(leds.errorString()));
    QTRY_COMPARE(simulatorLogCount(off), 1);
    QCOMPARE(simulatorLogCount(on), 1);
    // Only the device at that address with that MAC.
    QCOMPARE(simulatorLogCount(QStringLiteral("LED flashing on:")), 1);
}

void TestFleetCommands::flashingEndsWhenRequestsStop()
{
    endpoint.udpSendCmdLedsFlash(at("02:4E:58:00:00:04"));
    QTRY_COMPARE(simulatorLogCount(QStringLiteral("LED flashing on: 02:4E:58:00:00:04")), 1);
    QTRY_COMPARE_WITH_TIMEOUT(
        simulatorLogCount(QStringLiteral("LED flashing off: 02:4E:58:00:00:04 192.0.2.65 Fan VFD "
                                         "(no flash request for 1500 ms)")),
        1, 10000);
}

void TestFleetCommands::requestsForAnotherMacAreIgnored()
{
    const QStringList before = scan();
    QCOMPARE(before.size(), FleetSize);
    writeNewSettings(at("02:4E:58:00:00:99"));
    // Device 02:4E:58:00:00:01 exists, but not at this address.
    endpoint.udpSendCmdLedsFlash(at("02:4E:58:00:00:01"));
    QTRY_COMPARE(
        simulatorLogCount(QStringLiteral("modify request for 02:4E:58:00:00:99 ignored")), 1);
    QTRY_COMPARE(simulatorLogCount(QStringLiteral("LED request for 02:4E:58:00:00:01 ignored")), 1);
    QCOMPARE(scan(), before);
}

void TestFleetCommands::modifyChangesTheDeviceAfterItsRestart()
{
    QStringList expected = scan();
    const QString old = QStringLiteral("02:4E:58:00:00:04 192.0.2.65.255.255.255.0.192.0.2.1");
    QCOMPARE(expected.count(old), 1);
    expected.replace(expected.indexOf(old),
        QStringLiteral("02:4E:58:00:00:44 192.0.2.74.255.255.255.192.192.0.2.126"));

    writeNewSettings(at("02:4E:58:00:00:04"));
    QTRY_COMPARE(simulatorLogCount(QStringLiteral("modify request for 02:4E:58:00:00:04 192.0.2.65 "
                                                  "Fan VFD: new MAC 02:4E:58:00:00:44, IP "
                                                  "192.0.2.74, net mask 255.255.255.192, gateway "
                                                  "192.0.2.126")),
        1);
    QTRY_COMPARE(
        simulatorLogCount(QStringLiteral("restarted: 02:4E:58:00:00:44 192.0.2.74 Fan VFD")), 1);
    QCOMPARE(scan(), expected);
}

void TestFleetCommands::writeNewSettings(const DeviceTarget &target)
{
    const DeviceSettings settings { ipOf(QStringLiteral("192.0.2.74")),
        ipOf(QStringLiteral("255.255.255.192")), ipOf(QStringLiteral("192.0.2.126")) };
    QVERIFY2(endpoint.udpSendCmdModify(target, macOf(QStringLiteral("02:4E:58:00:00:44")),
                 Datagram::nameFieldBytes(QStringLiteral("Fan VFD")), settings),
        qPrintable(endpoint.lastSendError()));
}

QStringList TestFleetCommands::scan()
{
    replies.clear();
    endpoint.udpSendCmdScan();
    // A short list shows in the caller's comparison.
    if (!QTest::qWaitFor([this] { return replies.size() >= FleetSize; }))
        qWarning("only %d devices answered", int(replies.size()));
    return replies;
}

QTEST_MAIN(TestFleetCommands)
#include "tst_fleetcommands.moc"
