// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"
#include "devicesimulator.h"
#include "fleet.h"
#include "malformedreplies.h"

#include <QSet>
#include <QtTest>

// The simulator's own parts: if they were wrong, the fleet tests would test
// the wrong thing.
class TestDevSim : public QObject
{
    Q_OBJECT

private slots:
    void deviceLines_data();
    void deviceLines();
    void faultyDeviceLines_data();
    void faultyDeviceLines();
    void generatedFleetIsAcceptedAndUnique();
    void malformedRepliesAreAllDropped();
    void losses_data();
    void losses();
};

void TestDevSim::deviceLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<quint8>("type");
    QTest::addColumn<QByteArray>("mac");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<QByteArray>("network");
    QTest::addColumn<QByteArray>("points");

    QTest::newRow("PLC") << "1 \"Line 1 PLC\" 02:00:5E:00:00:01 192.0.2.64 255.255.255.0 "
                            "192.0.2.1 1.2.0.10 32.16"
                         << quint8(1) << QByteArray::fromHex("02005e000001")
                         << QByteArray("Line 1 PLC\0\0\0\0\0\0", 16)
                         << QByteArray::fromHex("0102000a")
                         << QByteArray::fromHex("c0000240ffffff00c0000201")
                         << QByteArray::fromHex("2010");
    QTest::newRow("16-byte Chinese name, no version, lower-case MAC")
        << "9   包装线控制1  02:4e:58:0a:0b:ff  192.0.2.127 255.255.255.192 192.0.2.126  -  "
           "255.0.0.7"
        << quint8(9) << QByteArray::fromHex("024e580a0bff") << QString("包装线控制1").toUtf8()
        << QByteArray() << QByteArray::fromHex("c000027fffffffc0c000027e")
        << QByteArray::fromHex("ff000007");
}

void TestDevSim::deviceLines()
{
    QFETCH(QString, line);
    SimulatedDevice device;
    QString error;
    QVERIFY2(parseDeviceLine(line, &device, &error), qPrintable(error));
    QTEST(device.reply.deviceType, "type");
    QTEST(device.reply.mac, "mac");
    QTEST(device.reply.name, "name");
    QTEST(device.reply.version, "version");
    QTEST(device.reply.network, "network");
    QTEST(device.reply.points, "points");
    QVERIFY(Datagram::parseScanReply(Datagram::scanReplyDatagram(device.reply)));
}

void TestDevSim::faultyDeviceLines_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("fault");

    const QString rest = QStringLiteral(" 192.0.2.64 255.255.255.0 192.0.2.1 1.2.0.10 32.16");
    QTest::newRow("seven fields")
        << "1 PLC 02:00:5E:00:00:01 192.0.2.64 255.255.255.0 192.0.2.1 1.2"
        << "7 fields instead of 8";
    QTest::newRow("type 256") << "256 PLC 02:00:5E:00:00:01" + rest << "type code";
    QTest::newRow("type name") << "PLC PLC 02:00:5E:00:00:01" + rest << "type code";
    QTest::newRow("name of 17 bytes")
        << "1 PLC-4567890123456 02:00:5E:00:00:01" + rest << "longer than 16 bytes";
    QTest::newRow("MAC of five bytes") << "1 PLC 02:00:5E:00:00" + rest << "MAC";
    QTest::newRow("IP 256") << "1 PLC 02:00:5E:00:00:01 192.0.2.256 255.255.255.0 192.0.2.1 1.0 1.0"
                            << "dotted decimal";
    QTest::newRow("version byte 256")
        << "1 PLC 02:00:5E:00:00:01 192.0.2.64 255.255.255.0 192.0.2.1 1.256 1.0"
        << "version";
    QTest::newRow("reply under 96 bytes")
        << "1 PLC 02:00:5E:00:00:01 192.0.2.64 255.255.255.0 192.0.2.1 - 1.0.0"
        << "96 bytes";
}

void TestDevSim::faultyDeviceLines()
{
    QFETCH(QString, line);
    QFETCH(QString, fault);
    SimulatedDevice device;
    QString error;
    QVERIFY(!parseDeviceLine(line, &device, &error));
    QVERIFY2(error.contains(fault), qPrintable(error));
}

void TestDevSim::generatedFleetIsAcceptedAndUnique()
{
    const Fleet fleet = generatedFleet(300);
    QCOMPARE(fleet.size(), 300);
    QSet<QByteArray> macs;
    for (const SimulatedDevice &device : fleet) {
        QVERIFY(Datagram::parseScanReply(Datagram::scanReplyDatagram(device.reply)));
        QCOMPARE(device.reply.mac.at(0), '\x02');
        macs.insert(device.reply.mac);
        const quint8 lastByte = quint8(device.reply.network.at(3));
        QVERIFY(device.reply.network.startsWith(QByteArray::fromHex("c00002")));
        QVERIFY2(lastByte >= 64 && lastByte <= 127, qPrintable(device.record().ip.toString()));
    }
    QCOMPARE(macs.size(), 300);
    QCOMPARE(fleet.at(2).reply.deviceType, quint8(3));
}

void TestDevSim::malformedRepliesAreAllDropped()
{
    const QVector<MalformedReply> replies = malformedReplies();
    QCOMPARE(replies.size(), 10);
    for (const MalformedReply &reply : replies)
        QVERIFY2(!Datagram::parseScanReply(reply.datagram), qPrintable(reply.fault));
    QCOMPARE(replies.at(3).datagram.size(), 95);
}

void TestDevSim::losses_data()
{
    QTest::addColumn<double>("percent");
    QTest::addColumn<int>("fewest");
    QTest::addColumn<int>("most");

    // Of 20,000 datagrams; a tenth lies within 5 standard deviations.
    QTest::newRow("none") << 0.0 << 0 << 0;
    QTest::newRow("a tenth") << 10.0 << 1788 << 2212;
    QTest::newRow("half") << 50.0 << 9646 << 10354;
    QTest::newRow("all") << 100.0 << 20000 << 20000;
}

void TestDevSim::losses()
{
    QFETCH(double, percent);
    DatagramLoss loss(percent, 7);
    DatagramLoss sameSeed(percent, 7);
    DatagramLoss otherSeed(percent, 8);
    int lost = 0;
    bool seedsDiffer = false;
    for (int datagram = 0; datagram < 20000; ++datagram) {
        const bool dropped = loss.drops();
        lost += dropped ? 1 : 0;
        QCOMPARE(sameSeed.drops(), dropped);
        seedsDiffer = seedsDiffer || otherSeed.drops() != dropped;
    }
    QFETCH(int, fewest);
    QFETCH(int, most);
    QVERIFY2(lost >= fewest && lost <= most, qPrintable(QString::number(lost)));
    QCOMPARE(seedsDiffer, lost > 0 && lost < 20000);
}

QTEST_MAIN(TestDevSim)
#include "tst_devsim.moc"
