// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"
#include "devicelistmodel.h"
#include "devicetext.h"
#include "mainwindow.h"
#include "programwindow.h"
#include "tablemarks.h"
#include "testpeer.h"

#include <QSortFilterProxyModel>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {

enum Column { TypeColumn, NameColumn, IpColumn, MacColumn };

Datagram::ScanReply replyOf(quint8 type, const char *macHex, const QByteArray &name,
    const char *versionHex, const char *networkHex, const char *pointsHex)
{
    Datagram::ScanReply reply;
    reply.deviceType = type;
    reply.mac = QByteArray::fromHex(macHex);
    reply.name = name;
    reply.version = QByteArray::fromHex(versionHex);
    reply.network = QByteArray::fromHex(networkHex);
    reply.points = QByteArray::fromHex(pointsHex);
    return reply;
}

QByteArray paddedName(const char *utf8)
{
    return QByteArray(utf8).leftJustified(Datagram::NameFieldSize, '\0');
}

// Device "A3": MAC ending in 0A, IP 192.0.2.67.
Datagram::ScanReply replyForCode(const QString &code)
{
    Datagram::ScanReply reply = replyOf(1, "020000000000", paddedName("PLC"), "0102", "", "0100");
    reply.mac[5] = char(code.at(0).toLatin1() - 'A' + 10);
    reply.network = DeviceSettings { Ipv4Address(0xC0000240 + code.at(1).digitValue()),
        Ipv4Address(0xFFFFFF00), Ipv4Address(0xC0000201) }
                        .toBytes();
    return reply;
}

Datagram::ScanReply numberedReply(int number, int macNumber)
{
    Datagram::ScanReply reply = replyOf(2, "020000000000", paddedName("HMI"), "0100", "", "0000");
    reply.mac[4] = char(macNumber >> 8);
    reply.mac[5] = char(macNumber);
    reply.network = DeviceSettings { Ipv4Address(0xC0000000 + quint32(number)),
        Ipv4Address(0xFFFF0000), Ipv4Address(0xC0000201) }
                        .toBytes();
    return reply;
}

} // namespace

Q_DECLARE_METATYPE(Datagram::ScanReply)

class TestDeviceRows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void formatters_data();
    void formatters();
    void rowTexts_data();
    void rowTexts();
    void duplicateMarks_data();
    void duplicateMarks();
    void repeatInALongTable();

private:
    // Sends the replies as a device would and waits until each is a row.
    // Sends the replies and waits until each is listed: as a row of its own,
    // until the table has rows rows more (all of them by default), or as a
    // listed row heard again.
    void receive(const QVector<Datagram::ScanReply> &replies, int rows = -1);
    void verifyTopRowIsCurrent() const;

    TestPeer *peer = nullptr;
    std::unique_ptr<ProgramWindow> program;
    MainWindow *window = nullptr;
    QTableView *table = nullptr;
};

void TestDeviceRows::initTestCase()
{
    peer = new TestPeer(this);
    QString error;
    QVERIFY2(peer->bind(&error), qPrintable(error));
    program = std::make_unique<ProgramWindow>();
    window = &program->window;
    table = window->findChild<QTableView *>(QStringLiteral("tableWidget"));
    QVERIFY(table);
}

void TestDeviceRows::cleanupTestCase()
{
    program.reset();
}

void TestDeviceRows::init()
{
    window->startScan();
    QCOMPARE(table->model()->rowCount(), 0);
}

void TestDeviceRows::formatters_data()
{
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("dotted");

    QTest::newRow("version") << "" << QByteArray::fromHex("0102000a") << "1.2.0.10";
    QTest::newRow("points") << "" << QByteArray::fromHex("0100") << "1.0";
    QTest::newRow("one byte") << "" << QByteArray::fromHex("ff") << "255";
    QTest::newRow("empty") << "" << QByteArray() << "";
    QTest::newRow("appends") << "v " << QByteArray::fromHex("0a00") << "v 10.0";
    QTest::newRow("appends nothing") << "v" << QByteArray() << "v";
}

void TestDeviceRows::formatters()
{
    QFETCH(QString, prefix);
    QFETCH(QByteArray, bytes);
    QString dotted = prefix;
    dottedDecimalText(dotted, bytes);
    QTEST(dotted, "dotted");
}

void TestDeviceRows::rowTexts_data()
{
    QTest::addColumn<Datagram::ScanReply>("reply");
    QTest::addColumn<QStringList>("texts");

    const char network[] = "c0a8010affffff00c0a80101";
    const QStringList addresses
        = { "192.168.1.10", "00:1A:2B:3C:4D:5E", "255.255.255.0", "192.168.1.1" };
    const auto row
        = [&](const char *type, const char *name, const char *version, const char *points) {
              return QStringList { type, QString::fromUtf8(name) } + addresses
                  + QStringList { version, points };
          };
    QTest::newRow("PLC") << replyOf(1, "001a2b3c4d5e", paddedName("AB"), "0102000a", network,
        "0100") << row("PLC", "AB", "1.2.0.10", "1.0");
    QTest::newRow("HMI, six-byte name cut at its zero") << replyOf(2, "001a2b3c4d5e",
        QByteArray::fromHex("414200000000"), "01020304050607080910", network,
        "01000000") << row("HMI", "AB", "1.2.3.4.5.6.7.8.9.16", "1.0.0.0");
    QTest::newRow("SERVO, empty version") << replyOf(3, "001a2b3c4d5e", paddedName("Axis X"), "",
        network, "0100ff00") << row("SERVO", "Axis X", "", "1.0.255.0");
    QTest::newRow("VFD, sixteen bytes without a zero")
        << replyOf(4, "001a2b3c4d5e", "PumpInverter0016", "05060708", network, "")
        << row("VFD", "PumpInverter0016", "5.6.7.8", "");
    QTest::newRow("unknown type 9, Chinese name")
        << replyOf(9, "001a2b3c4d5e", paddedName("包装线 PLC"), "0200", network, "1010")
        << row("", "包装线 PLC", "2.0", "16.16");
    QTest::newRow("type 0") << replyOf(0, "001a2b3c4d5e", paddedName("Module"), "00000000", network,
        "") << row("", "Module", "0.0.0.0", "");
    QTest::newRow("leading zeros and zero bytes")
        << replyOf(1, "0a0b0c0d0e0f", paddedName("PLC"), "ff00ff00", "c0000240ffffffc000000000", "")
        << QStringList { "PLC", "PLC", "192.0.2.64", "0A:0B:0C:0D:0E:0F", "255.255.255.192",
               "0.0.0.0", "255.0.255.0", "" };
}

void TestDeviceRows::rowTexts()
{
    QFETCH(Datagram::ScanReply, reply);
    QFETCH(QStringList, texts);
    receive({ reply });
    QCOMPARE(table->model()->rowCount(), 1);
    for (int column = 0; column < texts.size(); ++column)
        QCOMPARE(cellText(table->model(), 0, column), texts.at(column));
    // The test peer answers over loopback.
    QCOMPARE(cellText(table->model(), 0, AdapterColumn), QStringLiteral("lo"));
    for (int column = 0; column < table->model()->columnCount(); ++column)
        QVERIFY(!table->model()->index(0, column).data(Qt::BackgroundRole).isValid());
    verifyTopRowIsCurrent();
}

void TestDeviceRows::duplicateMarks_data()
{
    // A device is a letter for its MAC and a digit for its IP address.
    QTest::addColumn<QStringList>("devices");
    QTest::addColumn<QString>("macRed");
    QTest::addColumn<QString>("ipRed");

    QTest::newRow("all different") << QStringList { "A1", "B2", "C3" } << "000"
                                   << "000";
    QTest::newRow("same MAC twice") << QStringList { "A1", "A2" } << "11"
                                    << "00";
    QTest::newRow("same IP twice") << QStringList { "A1", "B1" } << "00"
                                   << "11";
    QTest::newRow("three rows, one MAC") << QStringList { "A1", "A2", "A3" } << "111"
                                         << "000";
    QTest::newRow("same device twice, one row") << QStringList { "A1", "B2", "A1" } << "00"
                                                << "00";
    QTest::newRow("marks stay after other rows") << QStringList { "A1", "A2", "B3", "C4" } << "1100"
                                                 << "0000";
    QTest::newRow("MAC of one row, IP of another") << QStringList { "A1", "B2", "A2" } << "101"
                                                   << "011";
}

void TestDeviceRows::duplicateMarks()
{
    QFETCH(QStringList, devices);
    QVector<Datagram::ScanReply> replies;
    for (const QString &code : devices)
        replies.append(replyForCode(code));
    // The same code is the same reply: one device answering again.
    const int rows = int(QSet<QString>(devices.begin(), devices.end()).size());
    receive(replies, rows);
    QCOMPARE(table->model()->rowCount(), rows);
    QTEST(redMarks(table->model(), MacColumn), "macRed");
    QTEST(redMarks(table->model(), IpColumn), "ipRed");
    QCOMPARE(redMarks(table->model(), NameColumn), QString(rows, QLatin1Char('0')));
    QCOMPARE(redMarks(table->model(), TypeColumn), QString(rows, QLatin1Char('0')));
    verifyTopRowIsCurrent();
}

void TestDeviceRows::repeatInALongTable()
{
    QVector<Datagram::ScanReply> replies;
    for (int number = 0; number < 200; ++number)
        replies.append(numberedReply(number, number));
    replies.append(numberedReply(1000, 150));
    receive(replies);
    QCOMPARE(table->model()->rowCount(), 201);
    QString expected(201, QLatin1Char('0'));
    expected[150] = expected[200] = QLatin1Char('1');
    QCOMPARE(redMarks(table->model(), MacColumn), expected);
    QCOMPARE(redMarks(table->model(), IpColumn), QString(201, QLatin1Char('0')));
    QCOMPARE(cellText(table->model(), 200, MacColumn), cellText(table->model(), 150, MacColumn));
    verifyTopRowIsCurrent();
}

void TestDeviceRows::receive(const QVector<Datagram::ScanReply> &replies, int rows)
{
    const auto *listed = window->findChild<DeviceListModel *>();
    const auto answers = [listed] {
        int count = 0;
        for (int row = 0; row < listed->rowCount(); ++row)
            count += listed->answerCount(row);
        return count;
    };
    const int answersBefore = answers();
    // Sent in small groups: the endpoint's receive buffer holds a few hundred.
    constexpr int GroupSize = 50;
    const int before = table->model()->rowCount();
    rows = rows < 0 ? int(replies.size()) : rows;
    for (int sent = 0; sent < replies.size();) {
        const int end = qMin(sent + GroupSize, int(replies.size()));
        for (; sent < end; ++sent)
            peer->sendToProgram(Datagram::scanReplyDatagram(replies.at(sent)));
        QTRY_COMPARE(table->model()->rowCount(), before + qMin(sent, rows));
    }
    QTRY_COMPARE(answers(), answersBefore + int(replies.size()));
}

void TestDeviceRows::verifyTopRowIsCurrent() const
{
    QCOMPARE(table->currentIndex().row(), 0);
    const QModelIndexList selected = table->selectionModel()->selectedRows();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.first().row(), 0);
}

QTEST_MAIN(TestDeviceRows)
#include "tst_devicerows.moc"
