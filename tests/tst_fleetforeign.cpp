// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicesettingssource.h"
#include "mysocket.h"
#include "simulatorlog.h"

#include <QNetworkInterface>
#include <QtTest>

namespace {

// The servo of tests/fleets/foreign-device.txt, still on its factory subnet.
const QString ServoMac = QStringLiteral("02:4E:58:00:20:02");
const QString ServoIp = QStringLiteral("203.0.113.10");

// Moves the servo into the host's subnet.
struct HostSubnetSettings : DeviceSettingsSource
{
    QString tableMacText() const override { return ServoMac; }
    QString macText() const override { return ServoMac; }
    QString deviceNameText() const override { return QStringLiteral("New servo"); }
    QString ipText() const override { return QStringLiteral("192.0.2.70"); }
    QString netMaskText() const override { return QStringLiteral("255.255.255.0"); }
    QString gateWayText() const override { return QStringLiteral("192.0.2.1"); }
};

} // namespace

// A device outside the host's subnet on the same cable (tests/netns-fleet.sh
// --foreign-device): reached by a broadcast on the adapter that heard it.
class TestFleetForeign : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void flashesStopsAndTakesModify();

private:
    MySocket endpoint;
};

void TestFleetForeign::initTestCase()
{
    QVERIFY2(!simulatorLog().isEmpty(), "run through netns-fleet.sh --foreign-device");
    endpoint.initUdpSocket();
    QVERIFY2(endpoint.isBound(), qPrintable(endpoint.bindErrorString()));
}

void TestFleetForeign::flashesStopsAndTakesModify()
{
    const QString servo = ServoMac + QStringLiteral(" 203.0.113.10 New servo");
    endpoint.setDeviceIp(ServoIp);
    endpoint.setDeviceInterfaceIndex(QNetworkInterface::interfaceIndexFromName("veth0"));
    QVERIFY2(endpoint.udpSendCmdLedsFlash(ServoMac), qPrintable(endpoint.lastSendError()));
    QTRY_COMPARE(simulatorLogCount(QStringLiteral("LED flashing on: ") + servo), 1);
    QVERIFY(endpoint.udpSendCmdLedsStop(ServoMac));
    QTRY_COMPARE(simulatorLogCount(QStringLiteral("LED flashing off: ") + servo), 1);
    const HostSubnetSettings settings;
    QVERIFY(endpoint.udpSendCmdModify(&settings));
    QTRY_COMPARE(simulatorLogCount(QStringLiteral("restarted: ") + ServoMac
                     + QStringLiteral(" 192.0.2.70 New servo")),
        1);
    QCOMPARE(
        simulatorLogCount(QStringLiteral("arrived on eth0 at 255.255.255.255 from 192.0.2.1")), 3);
}

QTEST_GUILESS_MAIN(TestFleetForeign)
#include "tst_fleetforeign.moc"
