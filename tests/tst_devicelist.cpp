// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicelistmodel.h"
#include "devicesortfilter.h"
#include "testdevices.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QtTest>

namespace {

// A record whose cell in the column shows the text.
DeviceRecord recordShowing(int column, const QString &text)
{
    DeviceRecord record;
    switch (column) {
    case DeviceTypeColumn:
        while (record.typeText() != text && ++record.type != 0) { }
        break;
    case DeviceNameColumn:
        record.nameBytes = text.toUtf8();
        break;
    case IpAddressColumn:
        record.ip = ipOf(text);
        break;
    case NetMaskColumn:
        record.mask = ipOf(text);
        break;
    case GateWayColumn:
        record.gateway = ipOf(text);
        break;
    case DeviceVersionColumn:
        record.version = text;
        break;
    default:
        record.points = text;
        break;
    }
    if (deviceCellText(record, column) != text)
        qFatal("no record shows %s", qPrintable(text));
    return record;
}

// "A" gives 01:01:01:01:01:01 (the letter's low four bits), a one-letter stand-in for a MAC.
MacAddress letterMac(const QString &letter)
{
    return *MacAddress::fromBytes(QByteArray(MacAddress::Size, char(letter.at(0).unicode() & 0xF)));
}

} // namespace

class TestDeviceList : public QObject
{
    Q_OBJECT

private slots:
    void recordFromReply_data();
    void recordFromReply();
    void duplicates_data();
    void duplicates();
    void clearKeepsNoMarks();
    void repeatedReplies_data();
    void repeatedReplies();
    void sortKeys_data();
    void sortKeys();
    void filterMatches_data();
    void filterMatches();
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
    QCOMPARE(
        QStringList({ record.typeText(), record.name(), record.version, record.points }), texts);
    QCOMPARE(record.nameBytes, name);
    QCOMPARE(record.mac, macOf(QStringLiteral("00:1A:2B:3C:4D:5E")));
    QCOMPARE(record.ip, ipOf(QStringLiteral("192.0.2.64")));
    QCOMPARE(record.mask, ipOf(QStringLiteral("255.255.255.0")));
    QCOMPARE(record.gateway, ipOf(QStringLiteral("192.0.2.1")));
    QCOMPARE(record.interfaceIndex, 0);
    QCOMPARE(record.senderAddress, Ipv4Address());
}

void TestDeviceList::duplicates_data()
{
    // One "mac/ip[/interface index]" a device in arrival order; red marks per
    // row, MAC then IP.
    QTest::addColumn<QStringList>("devices");
    QTest::addColumn<QString>("macRed");
    QTest::addColumn<QString>("ipRed");
    // The devices (named D0, D1, ...) the first row's tooltips name, and the
    // shared addresses the status bar counts.
    QTest::addColumn<QString>("firstShares");
    QTest::addColumn<QString>("conflicts");

    const QString a = letterMac(QStringLiteral("A")).toString();
    QTest::newRow("all different") << QStringList { "A/1", "B/2", "C/3" } << "000"
                                   << "000" << "ip: mac:" << "";
    QTest::newRow("same IP, first and last") << QStringList { "A/1", "B/2", "C/1" } << "000"
                                             << "101" << "ip:D2 mac:" << "0.0.0.1 x2";
    QTest::newRow("same MAC thrice") << QStringList { "A/1", "A/2", "B/3", "A/4" } << "1101"
                                     << "0000" << "ip: mac:D1,D3" << a + " x3";
    QTest::newRow("both at once") << QStringList { "A/1", "A/1" } << "11"
                                  << "11" << "ip:D1 mac:D1" << "0.0.0.1 x2, " + a + " x2";
    QTest::newRow("same addresses on two networks")
        << QStringList { "A/1/2", "A/1/3", "B/1/3" } << "000"
        << "011" << "ip: mac:" << "0.0.0.1 x2";
}

void TestDeviceList::duplicates()
{
    QFETCH(QStringList, devices);

    DeviceListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    for (const QString &device : devices) {
        DeviceRecord record;
        record.mac = letterMac(device.section('/', 0, 0));
        record.ip = Ipv4Address(device.section('/', 1, 1).toUInt());
        record.interfaceIndex = device.section('/', 2, 2).toInt();
        record.nameBytes = "D" + QByteArray::number(model.rowCount());
        model.append(record);
    }
    const auto marks = [&model](int column) {
        QString red;
        for (int row = 0; row < model.rowCount(); ++row)
            red += model.index(row, column).data(Qt::BackgroundRole) == QBrush(Qt::red) ? '1' : '0';
        return red;
    };
    QCOMPARE(model.rowCount(), devices.size());
    QCOMPARE(model.index(0, MacAddressColumn).data().toString(),
        letterMac(devices.first().section('/', 0, 0)).toString());
    QTEST(marks(MacAddressColumn), "macRed");
    QTEST(marks(IpAddressColumn), "ipRed");
    QCOMPARE(marks(DeviceNameColumn), QString(devices.size(), '0'));

    const auto named = [](const QString &tip) {
        QStringList names;
        QRegularExpressionMatchIterator found
            = QRegularExpression(QStringLiteral(" with (D\\d+) ")).globalMatch(tip);
        while (found.hasNext())
            names << found.next().captured(1);
        return names.join(',');
    };
    QCOMPARE(model.index(0, IpAddressColumn).data(Qt::ToolTipRole).toString(),
        model.ipConflictText(0));
    QTEST(QStringLiteral("ip:%1 mac:%2")
              .arg(named(model.ipConflictText(0)), named(model.macConflictText(0))),
        "firstShares");
    QStringList conflicts;
    for (const DeviceListModel::Conflict &conflict : model.conflicts())
        conflicts << QStringLiteral("%1 x%2").arg(conflict.address).arg(conflict.devices);
    QTEST(conflicts.join(QStringLiteral(", ")), "conflicts");
}

void TestDeviceList::clearKeepsNoMarks()
{
    DeviceListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    DeviceRecord record;
    record.ip = ipOf(QStringLiteral("192.0.2.64"));
    model.append(record);
    model.clear();
    model.append(record);
    QCOMPARE(model.rowCount(), 1);
    QVERIFY(!model.isDuplicateIp(0));
    model.append(record);
    QVERIFY(model.isDuplicateIp(0) && model.isDuplicateIp(1) && model.sharesIp(record));
}

void TestDeviceList::repeatedReplies_data()
{
    // One reply "mac/ip/name[/interface index]" in arrival order (MAC and IP by
    // their last byte); the rows listed by name, red marks per row, MAC then
    // IP, and how often each row answered.
    QTest::addColumn<QStringList>("replies");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("macRed");
    QTest::addColumn<QString>("ipRed");
    QTest::addColumn<QString>("answers");

    QTest::newRow("first") << QStringList { "1/64/A" } << "A"
                           << "0"
                           << "0"
                           << "1";
    QTest::newRow("echo") << QStringList { "1/64/A", "1/64/A" } << "A"
                          << "0"
                          << "0"
                          << "2";
    QTest::newRow("three tries, answers in between keep their order")
        << QStringList { "1/64/A", "2/65/B", "1/64/A", "3/66/C", "2/65/B", "1/64/A" } << "ABC"
        << "000"
        << "000"
        << "321";
    QTest::newRow("changed content from a listed MAC")
        << QStringList { "1/64/A", "1/64/B", "1/64/A" } << "AB"
        << "11"
        << "11"
        << "21";
    QTest::newRow("same IP from another MAC")
        << QStringList { "1/64/A", "2/64/A", "2/64/A" } << "AA"
        << "00"
        << "11"
        << "12";
    QTest::newRow("other adapter") << QStringList { "1/64/A/2", "1/64/A/3", "1/64/A/2" } << "AA"
                                   << "00"
                                   << "00"
                                   << "21";
}

void TestDeviceList::repeatedReplies()
{
    QFETCH(QStringList, replies);

    QVector<DeviceRecord> records;
    for (const QString &reply : qAsConst(replies)) {
        const QStringList fields = reply.split('/');
        TestDevice sent;
        sent.mac = "02:00:00:00:00:0" + fields.at(0);
        sent.ip = "192.0.2." + fields.at(1);
        sent.name = fields.at(2);
        DeviceRecord record = sent.record();
        record.interfaceIndex = fields.value(3).toInt();
        records.append(record);
    }
    // As the window lists them, a pass at a time, and as the command-line tool does.
    for (const bool onePass : { true, false }) {
        DeviceListModel model;
        QAbstractItemModelTester tester(
            &model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QDateTime before = QDateTime::currentDateTime();
        if (onePass)
            model.appendRecords(records);
        for (const DeviceRecord &record : qAsConst(records)) {
            if (!onePass)
                QVERIFY(model.append(record));
        }
        QString rows, macRed, ipRed, answers;
        for (int row = 0; row < model.rowCount(); ++row) {
            rows += model.record(row).name();
            macRed += model.isDuplicateMac(row) ? '1' : '0';
            ipRed += model.isDuplicateIp(row) ? '1' : '0';
            answers += QString::number(model.answerCount(row));
            QVERIFY(model.lastHeard(row) >= before.addMSecs(-1));
            QVERIFY(model.headerData(row, Qt::Vertical, Qt::ToolTipRole)
                        .toString()
                        .contains(model.lastHeard(row).toString(QStringLiteral("HH:mm:ss"))));
        }
        QTEST(rows, "rows");
        QTEST(macRed, "macRed");
        QTEST(ipRed, "ipRed");
        QTEST(answers, "answers");
        QCOMPARE(model.leftOutCount(), 0);
    }
}

void TestDeviceList::sortKeys_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");

    QTest::newRow("IP by value, not text") << int(IpAddressColumn) << "en"
                                           << "192.0.2.9"
                                           << "192.0.2.10";
    QTest::newRow("IP, first part decides") << int(IpAddressColumn) << "en"
                                            << "9.255.255.255"
                                            << "10.0.0.0";
    QTest::newRow("mask by value") << int(NetMaskColumn) << "en"
                                   << "255.255.0.0"
                                   << "255.255.255.0";
    QTest::newRow("version by part") << int(DeviceVersionColumn) << "en"
                                     << "1.2.0.9"
                                     << "1.10.0.1";
    QTest::newRow("shorter version first") << int(DeviceVersionColumn) << "en"
                                           << "2"
                                           << "2.0";
    QTest::newRow("names ignore case") << int(DeviceNameColumn) << "en"
                                       << "axis"
                                       << "Belt";
    QTest::newRow("names count digit runs") << int(DeviceNameColumn) << "en"
                                            << "Axis 2"
                                            << "Axis 10";
    // By pinyin (bei, shang), where code points put 上 first.
    QTest::newRow("Chinese names by pinyin") << int(DeviceNameColumn) << "zh_CN"
                                             << "北京"
                                             << "上海";
    QTest::newRow("type text") << int(DeviceTypeColumn) << "en"
                               << "HMI"
                               << "PLC";
}

void TestDeviceList::sortKeys()
{
    QFETCH(int, column);
    QFETCH(QString, locale);
    QFETCH(QString, first);
    QFETCH(QString, second);
    QCollator collator { QLocale(locale) };
    collator.setNumericMode(true);
    // Wine's collation, for one, orders Chinese by code point.
    if (locale == QLatin1String("zh_CN") && collator.compare(first, second) >= 0)
        QSKIP("this system's collation has no pinyin order");
    const DeviceRecord a = recordShowing(column, first);
    const DeviceRecord b = recordShowing(column, second);
    QVERIFY(compareDevices(column, a, b, collator) < 0);
    QVERIFY(compareDevices(column, b, a, collator) > 0);
    QCOMPARE(compareDevices(column, a, a, collator), 0);
}

void TestDeviceList::filterMatches_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<bool>("matches");

    QTest::newRow("empty") << "" << true;
    QTest::newRow("name, other case") << "AXIS y" << true;
    QTest::newRow("Chinese name") << "包装" << true;
    QTest::newRow("type") << "plc" << true;
    QTest::newRow("IP part") << "2.64" << true;
    QTest::newRow("MAC with colons") << "3c:4d" << true;
    QTest::newRow("MAC without separators") << "3C4D5E" << true;
    QTest::newRow("MAC with dashes") << "2b-3c" << true;
    QTest::newRow("blanks around") << "  servo " << true;
    QTest::newRow("gateway is not searched") << "192.0.2.1 " << false;
    QTest::newRow("version is not searched") << "1.2.0" << false;
    QTest::newRow("nothing like it") << "press" << false;
}

void TestDeviceList::filterMatches()
{
    QFETCH(QString, filter);
    DeviceRecord device;
    device.type = 1;
    device.nameBytes = QStringLiteral("Axis Y servo 包装线").toUtf8();
    device.ip = ipOf(QStringLiteral("192.0.2.64"));
    device.mac = macOf(QStringLiteral("00:1A:2B:3C:4D:5E"));
    device.gateway = ipOf(QStringLiteral("192.0.2.1"));
    device.version = QStringLiteral("1.2.0.10");
    QTEST(deviceMatchesFilter(device, filter), "matches");
}

QTEST_GUILESS_MAIN(TestDeviceList)
#include "tst_devicelist.moc"
