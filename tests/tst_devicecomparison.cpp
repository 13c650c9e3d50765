// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicecomparison.h"
#include "devicecsv.h"
#include "devicelistmodel.h"
#include "devicesortfilter.h"
#include "testdevices.h"

#include <QAbstractItemModelTester>
#include <QtTest>

#include <numeric>

namespace {

// "01 new" for each row shown, in the order shown: the MAC's end and the Change word.
QStringList shownChanges(const DeviceSortFilterModel &shown)
{
    const int changeColumn = shown.comparison()->changeColumn();
    QStringList rows;
    for (int row = 0; row < shown.rowCount(); ++row)
        rows << (shown.record(shown.index(row, 0)).mac.toString().right(2) + QLatin1Char(' ')
            + shown.index(row, changeColumn).data().toString())
                    .trimmed();
    return rows;
}

} // namespace

class TestDeviceComparison : public QObject
{
    Q_OBJECT

private slots:
    void changes_data();
    void changes();
    void changedCellTellsTheSavedValue();
    void stopComparingShowsThePlainList();
    void exportWhileComparingReadsBackAsTheList();
};

void TestDeviceComparison::changes_data()
{
    QTest::addColumn<QString>("saved");
    QTest::addColumn<QString>("listed");
    QTest::addColumn<QString>("late");
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QVector<int>>("counts");

    QTest::newRow("the same") << "01=Press@64;02=Axis@65"
                              << "02=Axis@65;01=Press@64"
                              << "" << -1 << QStringList { "02", "01" } << QVector<int> { 0, 0, 0 };
    QTest::newRow("re-addressed and renamed")
        << "01=Press@64;02=Axis@65"
        << "01=Press@64;02=Axis 2@90"
        << "" << -1 << QStringList { "01", "02 changed" } << QVector<int> { 0, 1, 0 };
    QTest::newRow("new and missing, the missing after the others")
        << "01=Press@64;02=Axis@65;03=Fan@66"
        << "03=Fan@66;09=Drive@65"
        << "" << -1 << QStringList { "03", "09 new", "01 missing", "02 missing" }
        << QVector<int> { 1, 0, 2 };
    QTest::newRow("a late answer leaves the missing rows")
        << "01=Press@64;02=Axis@65;03=Fan@66"
        << "03=Fan@66"
        << "01=Press@70" << -1 << QStringList { "03", "01 changed", "02 missing" }
        << QVector<int> { 0, 1, 1 };
    QTest::newRow("late answers split the missing rows")
        << "01=A@64;02=B@65;03=C@66;04=D@67;05=E@68"
        << "09=Z@70"
        << "01=A@64;03=C@66;04=D@67" << -1
        << QStringList { "09 new", "01", "03", "04", "02 missing", "05 missing" }
        << QVector<int> { 1, 0, 2 };
    QTest::newRow("missing stay last sorted by IP")
        << "01=Press@64;02=Axis@99"
        << "02=Axis@99;05=Fan@80"
        << "" << int(IpAddressColumn) << QStringList { "05 new", "02", "01 missing" }
        << QVector<int> { 1, 0, 1 };
    QTest::newRow("missing stay last sorted by name, descending")
        << "01=Press@64;02=Axis@99;03=Zeta@70"
        << "02=Axis@99;05=Fan@80"
        << "" << -2 - int(DeviceNameColumn)
        << QStringList { "05 new", "02", "03 missing", "01 missing" } << QVector<int> { 1, 0, 2 };
    QTest::newRow("a MAC saved twice: its first entry counts")
        << "01=Press@64;01=Other@70"
        << "01=Press@64"
        << "" << -1 << QStringList { "01" } << QVector<int> { 0, 0, 0 };
}

void TestDeviceComparison::changes()
{
    QFETCH(QString, saved);
    QFETCH(QString, listed);
    QFETCH(QString, late);
    QFETCH(int, sortColumn);
    QFETCH(QStringList, shown);
    QFETCH(QVector<int>, counts);

    DeviceListModel list;
    DeviceSortFilterModel shownDevices(&list);
    DeviceComparisonModel *comparison = shownDevices.comparison();
    QAbstractItemModelTester comparisonTester(comparison);
    QAbstractItemModelTester shownTester(&shownDevices);
    list.appendRecords(devicesFromText(listed));
    comparison->compareWith(snapshotOfScan(devicesFromText(saved)));
    list.appendRecords(devicesFromText(late));
    // A negative column: sorted by column -2 - n, descending.
    if (sortColumn >= 0)
        shownDevices.sort(sortColumn, Qt::AscendingOrder);
    else if (sortColumn < -1)
        shownDevices.sort(-2 - sortColumn, Qt::DescendingOrder);

    QCOMPARE(shownChanges(shownDevices), shown);
    QCOMPARE((QVector<int> { comparison->count(DeviceComparisonModel::New),
                 comparison->count(DeviceComparisonModel::Changed),
                 comparison->count(DeviceComparisonModel::Missing) }),
        counts);
}

void TestDeviceComparison::changedCellTellsTheSavedValue()
{
    DeviceListModel list;
    DeviceComparisonModel comparison(&list);
    list.appendRecords(devicesFromText(QStringLiteral("01=Press@64;02=Axis@90")));
    comparison.compareWith(
        snapshotOfScan(devicesFromText(QStringLiteral("01=Press@64;02=Axis@65"))));

    const QModelIndex changedIp = comparison.index(1, IpAddressColumn);
    QVERIFY(changedIp.data(Qt::ToolTipRole).toString().contains(QLatin1String("192.0.2.65")));
    QVERIFY(changedIp.data(Qt::BackgroundRole).isValid());
    for (const QModelIndex &unchanged :
        { comparison.index(1, DeviceNameColumn), comparison.index(0, IpAddressColumn) }) {
        QVERIFY(!unchanged.data(Qt::ToolTipRole).isValid());
        QVERIFY(!unchanged.data(Qt::BackgroundRole).isValid());
    }
}

void TestDeviceComparison::stopComparingShowsThePlainList()
{
    DeviceListModel list;
    DeviceComparisonModel comparison(&list);
    QAbstractItemModelTester tester(&comparison);
    list.appendRecords(devicesFromText(QStringLiteral("01=Press@64;02=Axis@90")));
    comparison.compareWith(snapshotOfScan(devicesFromText(QStringLiteral("02=Axis@65;03=Fan@66"))));
    QCOMPARE(comparison.columnCount(), ColumnCount + 1);
    QCOMPARE(comparison.rowCount(), 3);

    comparison.stopComparing();
    QCOMPARE(comparison.columnCount(), int(ColumnCount));
    QCOMPARE(comparison.rowCount(), 2);
    QVERIFY(!comparison.index(1, IpAddressColumn).data(Qt::BackgroundRole).isValid());
    // A new scan while comparing lists every saved device as missing until it answers.
    comparison.compareWith(snapshotOfScan(devicesFromText(QStringLiteral("02=Axis@65;03=Fan@66"))));
    list.clear();
    QCOMPARE(comparison.count(DeviceComparisonModel::Missing), 2);
}

void TestDeviceComparison::exportWhileComparingReadsBackAsTheList()
{
    DeviceListModel list;
    DeviceComparisonModel comparison(&list);
    const QVector<DeviceRecord> listed = devicesFromText(QStringLiteral("01=Press@64;02=Axis@90"));
    list.appendRecords(listed);
    comparison.compareWith(snapshotOfScan(devicesFromText(QStringLiteral("02=Axis@65;03=Fan@66"))));
    QVector<int> rows(comparison.rowCount());
    std::iota(rows.begin(), rows.end(), 0);

    const QString csv = comparedDevicesCsv(list, comparison, rows);
    const QStringList lines = csv.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(lines.at(0).endsWith(QLatin1String(",change")));
    QVERIFY(lines.at(1).endsWith(QLatin1String(",new")));
    QVERIFY(lines.at(2).endsWith(QLatin1String(",changed")));
    QVERIFY(lines.at(3).endsWith(QLatin1String(",missing")));
    SnapshotError error;
    const std::optional<Snapshot> readBack = parseSnapshot(csv.toUtf8(), &error);
    QVERIFY2(readBack, qPrintable(error.reason));
    QVERIFY(compareSnapshots(snapshotOfScan(listed), *readBack).isEmpty());
}

QTEST_GUILESS_MAIN(TestDeviceComparison)
#include "tst_devicecomparison.moc"
