// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"
#include "mainwindow.h"
#include "programwindow.h"
#include "tablemarks.h"
#include "testdevices.h"
#include "testpeer.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTableView>
#include <QScrollBar>
#include <QtTest>

#include <memory>

namespace {

constexpr int IpColumn = 2;
constexpr int MacColumn = 3;

struct Device
{
    QString ip;
    QString mac;
    // In the version: a device that answers again sends the same bytes, so
    // replies that only share addresses differ in it.
    quint8 serial = 0;
};

QByteArray replyFor(const Device &device)
{
    TestDevice reply;
    reply.mac = device.mac;
    reply.ip = device.ip;
    reply.gateway = QStringLiteral("192.0.2.254");
    reply.version = QByteArray::fromHex("010200") + char(device.serial);
    return reply.datagram();
}

// Devices drawn from small pools, so that MACs and IPs repeat, some many times.
QVector<Device> burstWithRepeats(int count, quint32 seed)
{
    QRandomGenerator random(seed);
    QVector<Device> devices;
    for (int i = 0; i < count; ++i) {
        const int mac = random.bounded(count / 3);
        const int ip = random.bounded(count / 2);
        devices.append({ QStringLiteral("192.0.%1.%2").arg(ip / 250).arg(ip % 250 + 1),
            QStringLiteral("00:1A:2B:3C:%1:%2")
                .arg(mac / 256, 2, 16, QLatin1Char('0'))
                .arg(mac % 256, 2, 16, QLatin1Char('0'))
                .toUpper(),
            quint8(i) });
    }
    return devices;
}

// The red cells the table must end with, by the rules applied one reply at a
// time: every listed cell with the new text turns red, and so does the new one.
QVector<QPair<bool, bool>> redCellsRowByRow(const QVector<Device> &devices)
{
    QVector<QPair<bool, bool>> red; // (IP, MAC) of each row
    for (int row = 0; row < devices.size(); ++row) {
        red.append({ false, false });
        for (int earlier = 0; earlier < row; ++earlier) {
            if (devices.at(earlier).ip == devices.at(row).ip)
                red[earlier].first = red[row].first = true;
            if (devices.at(earlier).mac == devices.at(row).mac)
                red[earlier].second = red[row].second = true;
        }
    }
    return red;
}

bool isRed(QTableView *table, int row, int column)
{
    return table->model()->index(row, column).data(Qt::BackgroundRole) == QBrush(Qt::red);
}

QSet<int> selectedRows(QTableView *table)
{
    QSet<int> rows;
    for (const QModelIndex &index : table->selectionModel()->selectedIndexes())
        rows.insert(index.row());
    return rows;
}

} // namespace

class TestDeviceListing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void burstEndsAsRowByRow_data();
    void burstEndsAsRowByRow();
    void emptiedTableForgetsAddresses();
    void sortAndFilterKeepTheRules_data();
    void sortAndFilterKeepTheRules();

private:
    // Sends one reply per device and waits until each is a row.
    bool sendAll(const QVector<Device> &devices);

    TestPeer *peer = nullptr;
    std::unique_ptr<ProgramWindow> program;
    MainWindow *window = nullptr;
    QTableView *table = nullptr;
};

void TestDeviceListing::init()
{
    peer = new TestPeer(this);
    QString error;
    QVERIFY2(peer->bind(&error), qPrintable(error));
    program = std::make_unique<ProgramWindow>();
    window = &program->window;
    window->show();
    table = window->findChild<QTableView *>(QStringLiteral("tableWidget"));
    QVERIFY(table);
}

void TestDeviceListing::cleanup()
{
    program.reset();
    window = nullptr;
    delete peer;
    peer = nullptr;
}

bool TestDeviceListing::sendAll(const QVector<Device> &devices)
{
    const int rows = table->model()->rowCount() + devices.size();
    for (const Device &device : devices)
        peer->sendToProgram(replyFor(device));
    return QTest::qWaitFor([&] { return table->model()->rowCount() == rows; });
}

void TestDeviceListing::burstEndsAsRowByRow_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<quint32>("seed");
    QTest::newRow("one") << 1 << 1u;
    QTest::newRow("a few") << 7 << 2u;
    QTest::newRow("three hundred") << 300 << 3u;
    QTest::newRow("six hundred") << 600 << 4u;
}

void TestDeviceListing::burstEndsAsRowByRow()
{
    QFETCH(int, count);
    QFETCH(quint32, seed);
    const QVector<Device> devices = burstWithRepeats(qMax(count, 3), seed).mid(0, count);
    QVERIFY(sendAll(devices));

    const QVector<QPair<bool, bool>> red = redCellsRowByRow(devices);
    for (int row = 0; row < count; ++row) {
        QCOMPARE(cellText(table->model(), row, MacColumn), devices.at(row).mac);
        QCOMPARE(cellText(table->model(), row, IpColumn), devices.at(row).ip);
        QCOMPARE(isRed(table, row, IpColumn), red.at(row).first);
        QCOMPARE(isRed(table, row, MacColumn), red.at(row).second);
    }
    // As soon as the rows are there, not some event later: until the user picks
    // a row, the top row is selected and the table shows its top.
    QCOMPARE(selectedRows(table), QSet<int>({ 0 }));
    QCOMPARE(table->currentIndex().row(), 0);
    QCOMPARE(table->verticalScrollBar()->value(), 0);
    QVERIFY(table->viewport()->rect().contains(
        table->visualRect(table->model()->index(0, 0)).center()));
}

void TestDeviceListing::emptiedTableForgetsAddresses()
{
    const Device device = { QStringLiteral("192.0.2.70"), QStringLiteral("00:1A:2B:3C:4D:5E") };
    QVERIFY(sendAll({ device }));
    window->startScan();
    QCOMPARE(table->model()->rowCount(), 0);
    QVERIFY(sendAll({ device }));
    QVERIFY(!isRed(table, 0, IpColumn));
    QVERIFY(!isRed(table, 0, MacColumn));
}

void TestDeviceListing::sortAndFilterKeepTheRules_data()
{
    QTest::addColumn<int>("ipHeaderClicks");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("macEnds"); // the last digit of each shown row's MAC
    QTest::addColumn<QString>("ipRed");
    QTest::addColumn<QString>("shownCount");

    QTest::newRow("arrival order") << 0 << ""
                                   << "123"
                                   << "101"
                                   << "3 of 3 devices shown";
    QTest::newRow("IP ascending") << 1 << ""
                                  << "213"
                                  << "011"
                                  << "3 of 3 devices shown";
    QTest::newRow("IP descending") << 2 << ""
                                   << "132"
                                   << "110"
                                   << "3 of 3 devices shown";
    QTest::newRow("third click: arrival order") << 3 << ""
                                                << "123"
                                                << "101"
                                                << "3 of 3 devices shown";
    QTest::newRow("filtered by IP") << 0 << "2.10"
                                    << "13"
                                    << "11"
                                    << "2 of 3 devices shown";
    QTest::newRow("filtered by bare MAC, sorted") << 2 << "3c4d03"
                                                  << "3"
                                                  << "1"
                                                  << "1 of 3 devices shown";
}

void TestDeviceListing::sortAndFilterKeepTheRules()
{
    QFETCH(int, ipHeaderClicks);
    QFETCH(QString, filter);
    const QVector<Device> devices = { { "192.0.2.10", "00:1A:2B:3C:4D:01" },
        { "192.0.2.9", "00:1A:2B:3C:4D:02" }, { "192.0.2.10", "00:1A:2B:3C:4D:03" } };
    QVERIFY(sendAll(devices));
    QHeaderView *header = table->horizontalHeader();
    for (int click = 0; click < ipHeaderClicks; ++click) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(IpColumn) + 4, header->height() / 2));
    }
    window->findChild<QLineEdit *>(QStringLiteral("filterEdit"))->setText(filter);

    QString macEnds;
    for (int row = 0; row < table->model()->rowCount(); ++row)
        macEnds += cellText(table->model(), row, MacColumn).right(1);
    QTEST(macEnds, "macEnds");
    QTEST(redMarks(table->model(), IpColumn), "ipRed");
    QFETCH(QString, shownCount);
    QTRY_COMPARE(
        window->findChild<QLabel *>(QStringLiteral("shownCountLabel"))->text(), shownCount);
    // Sorting and filtering are not the user's choice: the top row shown is current.
    QCOMPARE(table->currentIndex().row(), 0);
    // Another reply whose MAC is listed: the top row is still current, and both MACs are red.
    QVERIFY(sendAll({ { devices.last().ip, devices.last().mac, 1 } }));
    QCOMPARE(table->currentIndex().row(), 0);
    QCOMPARE(table->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(redMarks(table->model(), MacColumn).count('1'), macEnds.count('3') + 1);
}

QTEST_MAIN(TestDeviceListing)
#include "tst_devicelisting.moc"
