// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "mainwindow.h"
#include "mysocket.h"
#include "programwindow.h"
#include "simulatorlog.h"

#include <QLabel>
#include <QNetworkInterface>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {
const char OfficeLog[] = "NESDRIX_SIM_LOG_OFFICE";
const char PlantLog[] = "NESDRIX_SIM_LOG";
} // namespace

// The program's side has two adapters, the default route on "office"; each
// network has a simulator of its own (tests/netns-fleet.sh --two-adapters).
class TestFleetAdapters : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void windowListsBothNetworks();
    void scanLeavesOnEveryAdapter();
    void requestsLeaveThroughTheAdapterThatHeard_data();
    void requestsLeaveThroughTheAdapterThatHeard();

private:
    std::unique_ptr<ProgramWindow> program;
    MainWindow *window = nullptr;
};

void TestFleetAdapters::initTestCase()
{
    QVERIFY2(!simulatorLog(OfficeLog).isEmpty(), "run through netns-fleet.sh --two-adapters");
    program = std::make_unique<ProgramWindow>();
    window = &program->window;
    QVERIFY2(program->endpoint.isBound(), qPrintable(program->endpoint.bindErrorString()));
}

void TestFleetAdapters::cleanupTestCase()
{
    program.reset();
}

void TestFleetAdapters::windowListsBothNetworks()
{
    // Five devices on the plant, two in the office.
    QTRY_COMPARE(window->findChild<QTableView *>()->model()->rowCount(), 7);
    const auto *status = window->findChild<QLabel *>(QStringLiteral("scanStatusLabel"));
    QTRY_VERIFY2(
        status->text().endsWith(QLatin1String("Devices listed: 7.")), qPrintable(status->text()));
    QVERIFY(status->text().contains(QLatin1String("office 198.51.100.2/24")));
    QVERIFY(status->text().contains(QLatin1String("plant 192.0.2.1/24")));
}

void TestFleetAdapters::scanLeavesOnEveryAdapter()
{
    // The replies of both networks: cli-e2e.sh two-adapters.
    const ScanReport report = program->endpoint.udpSendCmdScan();
    QStringList scanned;
    for (const ScanAdapter &adapter : report.adapters) {
        QVERIFY2(adapter.sent, qPrintable(adapter.error));
        scanned << adapter.name + QLatin1Char(' ') + adapter.addresses.value(0).ip.toString();
    }
    scanned.sort();
    QCOMPARE(scanned, QStringList({ "office 198.51.100.2", "plant 192.0.2.1" }));
}

void TestFleetAdapters::requestsLeaveThroughTheAdapterThatHeard_data()
{
    QTest::addColumn<QString>("adapter");
    QTest::addColumn<QString>("deviceIp");
    QTest::addColumn<QString>("mac");
    // Where the simulator of that network saw the request arrive.
    QTest::addColumn<QString>("arrival");

    QTest::newRow("plant device, unicast") << "plant"
                                           << "192.0.2.68"
                                           << "02:4E:58:00:00:05"
                                           << "arrived on eth0 at 192.0.2.68 from 192.0.2.1";
    QTest::newRow("office device, unicast") << "office"
                                            << "198.51.100.65"
                                            << "02:4E:58:00:10:02"
                                            << "arrived on eth0 at 198.51.100.65 from 198.51.100.2";
    // The default route leads to the office; naming the adapter keeps it on the plant.
    QTest::newRow("plant device on a foreign subnet, broadcast on the plant")
        << "plant"
        << "203.0.113.10"
        << "02:4E:58:00:00:02"
        << "arrived on eth0 at 255.255.255.255 from 192.0.2.1";
}

void TestFleetAdapters::requestsLeaveThroughTheAdapterThatHeard()
{
    QFETCH(QString, adapter);
    QFETCH(QString, deviceIp);
    QFETCH(QString, mac);
    QFETCH(QString, arrival);

    const char *ownLog = adapter == QLatin1String("plant") ? PlantLog : OfficeLog;
    const char *otherLog = adapter == QLatin1String("plant") ? OfficeLog : PlantLog;
    const QString request = QStringLiteral(": LED stop for ") + mac;
    const DeviceTarget target { *MacAddress::fromText(mac), *Ipv4Address::fromText(deviceIp),
        QNetworkInterface::interfaceIndexFromName(adapter) };
    QVERIFY2(program->endpoint.udpSendCmdLedsStop(target),
        qPrintable(program->endpoint.lastSendError()));
    QTRY_COMPARE(simulatorLogCount(arrival + request, ownLog), 1);
    QCOMPARE(simulatorLog(otherLog).filter(request).size(), 0);
}

QTEST_MAIN(TestFleetAdapters)
#include "tst_fleetadapters.moc"
