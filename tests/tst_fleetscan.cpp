// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicelistmodel.h"
#include "mainwindow.h"
#include "mysocket.h"
#include "programwindow.h"
#include "simulatorlog.h"
#include "tablemarks.h"

#include <QSortFilterProxyModel>
#include <QTableView>
#include <QtTest>

#include <memory>

// A scan of tests/fleets/five-devices.txt, played by the simulator with
// malformed replies after the good ones, on the other side of a veth pair.
class TestFleetScan : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void everyDeviceIsOneRow();
    void aSecondScanAnswerIsTheRowsHeardAgain();

private:
    void verifyRows(int first) const;

    std::unique_ptr<ProgramWindow> program;
    MainWindow *window = nullptr;
    QTableView *table = nullptr;
};

namespace {

const int FleetSize = 5;

// The fleet's rows in the order the devices answer.
const QStringList ExpectedRows[FleetSize] = {
    { "PLC", "Press PLC", "192.0.2.64", "02:4E:58:00:00:01", "255.255.255.0", "192.0.2.1",
        "1.2.0.10", "32.16" },
    { "HMI", "Panel 1", "192.0.2.65", "02:4E:58:00:00:02", "255.255.255.0", "192.0.2.1", "3.4.1.0",
        "" },
    { "SERVO", "伺服 X", "192.0.2.66", "02:4E:58:00:00:01", "255.255.255.0", "192.0.2.1", "",
        "1.0.0.0" },
    { "VFD", "Fan VFD", "192.0.2.65", "02:4E:58:00:00:04", "255.255.255.0", "192.0.2.1", "5.2",
        "0.0" },
    { "", "Module 16 bytes!", "192.0.2.68", "02:4E:58:00:00:05", "255.255.255.192", "192.0.2.126",
        "0.9.0.3", "" },
};

enum { IpColumn = 2, MacColumn = 3 };

} // namespace

void TestFleetScan::initTestCase()
{
    QVERIFY2(!simulatorLog().isEmpty(), "run through tests/netns-fleet.sh");
    program = std::make_unique<ProgramWindow>();
    window = &program->window;
    table = window->findChild<QTableView *>(QStringLiteral("tableWidget"));
    QVERIFY(table);
}

void TestFleetScan::cleanupTestCase()
{
    program.reset();
}

void TestFleetScan::everyDeviceIsOneRow()
{
    QTRY_COMPARE(table->model()->rowCount(), FleetSize);
    QTRY_VERIFY(simulatorLogCount(QStringLiteral("sent 5 replies to 192.0.2.1")) >= 1);
    verifyRows(0);
    QCOMPARE(redMarks(table->model(), MacColumn), QStringLiteral("10100"));
    QCOMPARE(redMarks(table->model(), IpColumn), QStringLiteral("01010"));
    QCOMPARE(table->currentIndex().row(), 0);
}

void TestFleetScan::aSecondScanAnswerIsTheRowsHeardAgain()
{
    QTRY_COMPARE(simulatorLogCount(QStringLiteral("sent 10 malformed replies")), 3);
    // Without emptying the table, as the answers to a scan's next try come. The
    // replies to this scan come through the same cable after the malformed
    // ones, so once the rows are heard again every malformed reply has been
    // seen, and dropped.
    auto *devices = window->findChild<DeviceListModel *>();
    QVERIFY(devices);
    QTRY_COMPARE(devices->answerCount(FleetSize - 1), 3);
    program->endpoint.udpSendCmdScan();
    QTRY_COMPARE(devices->answerCount(FleetSize - 1), 4);
    QCOMPARE(table->model()->rowCount(), FleetSize);
    verifyRows(0);
    QCOMPARE(redMarks(table->model(), MacColumn), QStringLiteral("10100"));
    QCOMPARE(redMarks(table->model(), IpColumn), QStringLiteral("01010"));
    QCOMPARE(devices->answerCount(0), 4);
    QCOMPARE(table->currentIndex().row(), 0);
}

void TestFleetScan::verifyRows(int first) const
{
    for (int device = 0; device < FleetSize; ++device) {
        for (int column = 0; column < ExpectedRows[device].size(); ++column)
            QCOMPARE(
                cellText(table->model(), first + device, column), ExpectedRows[device].at(column));
        QCOMPARE(cellText(table->model(), first + device, AdapterColumn), QStringLiteral("veth0"));
    }
}

QTEST_MAIN(TestFleetScan)
#include "tst_fleetscan.moc"
