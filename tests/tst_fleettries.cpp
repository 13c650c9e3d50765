// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicelistmodel.h"
#include "mainwindow.h"
#include "programwindow.h"
#include "simulatorlog.h"
#include "tablemarks.h"

#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QtTest>

// The window's scan against tests/fleets/five-devices.txt played by a
// simulator that leaves the first two scan requests unanswered and sends
// every reply twice (--miss-scans 2 --echo).
class TestFleetTries : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void theThirdTryListsEveryDeviceOnce();
    void refreshInTheMiddleOfAScan();

private:
    // The scan requests the simulator has seen.
    static int scanRequests();
    void verifyListedOnce(int answers);

    std::unique_ptr<ProgramWindow> program;
    MainWindow *window = nullptr;
    QTableView *table = nullptr;
    const QLabel *status = nullptr;
    const DeviceListModel *devices = nullptr;
};

namespace {

const int FleetSize = 5;
const QString Scanned = QStringLiteral("Scanned on veth0 192.0.2.1/24. Devices listed: 5.");
enum { IpColumn = 2, MacColumn = 3 };

} // namespace

void TestFleetTries::initTestCase()
{
    QVERIFY2(!simulatorLog().isEmpty(), "run through tests/netns-fleet.sh");
    program = std::make_unique<ProgramWindow>();
    window = &program->window;
    table = window->findChild<QTableView *>(QStringLiteral("tableWidget"));
    status = window->findChild<QLabel *>(QStringLiteral("scanStatusLabel"));
    QVERIFY(table && status);
    devices = window->findChild<DeviceListModel *>();
    QVERIFY(devices);
}

void TestFleetTries::cleanupTestCase()
{
    program.reset();
}

int TestFleetTries::scanRequests()
{
    const QStringList lines = simulatorLog();
    return int(std::count_if(lines.begin(), lines.end(),
        [](const QString &line) { return line.endsWith(QLatin1String(": scan")); }));
}

void TestFleetTries::verifyListedOnce(int answers)
{
    QCOMPARE(table->model()->rowCount(), FleetSize);
    // The fleet's own conflicts: two devices share a MAC, two others an IP.
    QCOMPARE(redMarks(table->model(), MacColumn), QStringLiteral("10100"));
    QCOMPARE(redMarks(table->model(), IpColumn), QStringLiteral("01010"));
    for (int row = 0; row < FleetSize; ++row)
        QTRY_COMPARE(devices->answerCount(row), answers);
}

void TestFleetTries::theThirdTryListsEveryDeviceOnce()
{
    QCOMPARE(status->text(), QStringLiteral("Scanning..."));
    QTRY_COMPARE_WITH_TIMEOUT(table->model()->rowCount(), FleetSize, 10000);
    QCOMPARE(scanRequests(), 3);
    QCOMPARE(simulatorLogCount(QStringLiteral("sent 5 replies to 192.0.2.1")), 1);
    QTRY_COMPARE_WITH_TIMEOUT(status->text(), Scanned, 10000);
    verifyListedOnce(2);
}

void TestFleetTries::refreshInTheMiddleOfAScan()
{
    const int before = scanRequests();
    window->startScan();
    QTRY_COMPARE(scanRequests(), before + 1);
    QTest::mouseClick(
        window->findChild<QPushButton *>(QStringLiteral("refreshButton")), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(status->text(), Scanned, 10000);
    // The rest of the scan before was never sent: the refresh's own tries only.
    QTRY_COMPARE(scanRequests(), before + 4);
    verifyListedOnce(6);
}

QTEST_MAIN(TestFleetTries)
#include "tst_fleettries.moc"
