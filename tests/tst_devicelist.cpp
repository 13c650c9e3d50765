// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicelistmodel.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QtTest>

class TestDeviceList : public QObject
{
    Q_OBJECT

private slots:
    void recordFromReply_data();
    void recordFromReply();
    void duplicates_data();
    void duplicates();
    void clearKeepsNoMarks();
};

void TestDeviceList::recordFromReply_data()
{
    QTest::addColumn<quint8>("type");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<QByteArray>("points");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("PLC") << quint8(1) << QByteArray("Press\0\0\0\0\0\0\0\0\0\0\0", 16)
                         << QByteArray::fromHex("0102000a") << QByteArray()
                         << QStringList { "PLC", "Press", "1.2.0.10", "" };
    QTest::newRow("name cut at its zero, all 16 bytes kept")
        << quint8(4) << QByteArray("Fan\0junk", 8) << QByteArray() << QByteArray::fromHex("ff00")
        << QStringList { "VFD", "Fan", "", "255.0" };
    QTest::newRow("UTF-8 name, unknown type")
        << quint8(9) << QByteArray("包装线") << QByteArray::fromHex("02") << QByteArray()
        << QStringList { "", "包装线", "2", "" };
}

void TestDeviceList::recordFromReply()
{
    QFETCH(quint8, type);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, version);
    QFETCH(QByteArray, points);
    QFETCH(QStringList, texts);

    Datagram::ScanReply reply;
    reply.deviceType = type;
    reply.mac = QByteArray::fromHex("001a2b3c4d5e");
    reply.name = name;
    reply.version = version;
    reply.network = QByteArray::fromHex("c0000240ffffff00c0000201");
    reply.points = points;
    const DeviceRecord record = deviceRecordFromReply(reply);
    QCOMPARE(QStringList({ record.type, record.name, record.version, record.points }), texts);
    QCOMPARE(record.nameBytes, name);
    QCOMPARE(record.mac, QStringLiteral("00:1A:2B:3C:4D:5E"));
    QCOMPARE(QStringList({ record.ip, record.mask, record.gateway }),
        QStringList({ "192.0.2.64", "255.255.255.0", "192.0.2.1" }));
    QCOMPARE(record.interfaceIndex, 0);
    QVERIFY(record.senderAddress.isEmpty());
}

void TestDeviceList::duplicates_data()
{
    // One "mac/ip[/interface index]" a device in arrival order; red marks per
    // row, MAC then IP.
    QTest::addColumn<QStringList>("devices");
    QTest::addColumn<QString>("macRed");
    QTest::addColumn<QString>("ipRed");

    QTest::newRow("all different") << QStringList { "A/1", "B/2", "C/3" } << "000"
                                   << "000";
    QTest::newRow("same IP, first and last") << QStringList { "A/1", "B/2", "C/1" } << "000"
                                             << "101";
    QTest::newRow("same MAC thrice") << QStringList { "A/1", "A/2", "B/3", "A/4" } << "1101"
                                     << "0000";
    QTest::newRow("both at once") << QStringList { "A/1", "A/1" } << "11"
                                  << "11";
    QTest::newRow("same addresses on two networks")
        << QStringList { "A/1/2", "A/1/3", "B/1/3" } << "000"
        << "011";
}

void TestDeviceList::duplicates()
{
    QFETCH(QStringList, devices);

    DeviceListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (const QString &device : devices) {
        DeviceRecord record;
        record.mac = device.section('/', 0, 0);
        record.ip = device.section('/', 1, 1);
        record.interfaceIndex = device.section('/', 2, 2).toInt();
        model.append(record);
    }
    const auto marks = [&model](int column) {
        QString red;
        for (int row = 0; row < model.rowCount(); ++row)
            red += model.index(row, column).data(Qt::BackgroundRole) == QBrush(Qt::red) ? '1' : '0';
        return red;
    };
    QCOMPARE(model.rowCount(), devices.size());
    QCOMPARE(
        model.index(0, MacAddressColumn).data().toString(), devices.first().section('/', 0, 0));
    QTEST(marks(MacAddressColumn), "macRed");
    QTEST(marks(IpAddressColumn), "ipRed");
    QCOMPARE(marks(DeviceNameColumn), QString(devices.size(), '0'));
}

void TestDeviceList::clearKeepsNoMarks()
{
    DeviceListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    DeviceRecord record;
    record.ip = QStringLiteral("192.0.2.64");
    model.append(record);
    model.clear();
    model.append(record);
    QCOMPARE(model.rowCount(), 1);
    QVERIFY(!model.isDuplicateIp(0));
    model.append(record);
    QVERIFY(model.isDuplicateIp(0) && model.isDuplicateIp(1) && model.sharesIp(record));
}

QTEST_GUILESS_MAIN(TestDeviceList)
#include "tst_devicelist.moc"
