// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"
#include "testdevices.h"

#include <QFile>
#include <QtTest>

using namespace Datagram;

// docs/protocol.md shows device makers every datagram as bytes. Those bytes must
// be the codec's, and the example reply one that the program lists.
class TestProtocolDoc : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void examplesAreTheCodecs_data();
    void examplesAreTheCodecs();

private:
    QString doc;
};

namespace {

const QByteArray Mac = QByteArray::fromHex("001a2b3c4d5e");
const MacAddress MacValue = *MacAddress::fromBytes(Mac);

DeviceSettings settings(const char *ip)
{
    return { ipOf(QLatin1String(ip)), ipOf(QStringLiteral("255.255.255.0")),
        ipOf(QStringLiteral("192.168.1.1")) };
}

// Sixteen bytes a line, each line led by the decimal offset of its first byte.
QString hexDump(const QByteArray &bytes)
{
    QString dump;
    for (int offset = 0; offset < bytes.size(); offset += 16) {
        dump += QStringLiteral("%1 ").arg(offset, 3);
        for (const char byte : bytes.mid(offset, 16))
            dump += QStringLiteral(" %1").arg(quint8(byte), 2, 16, QLatin1Char('0')).toUpper();
        dump += QLatin1Char('\n');
    }
    return dump;
}

ScanReply exampleReply()
{
    ScanReply reply;
    reply.deviceType = 1;
    reply.mac = Mac;
    reply.name = QByteArray("PLC-01").leftJustified(NameFieldSize, '\0');
    reply.version = QByteArray::fromHex("0102000a");
    reply.network = settings("192.168.1.10").toBytes();
    reply.points = QByteArray::fromHex("0100");
    return reply;
}

} // namespace

void TestProtocolDoc::initTestCase()
{
    QFile file(QStringLiteral(NESDRIX_SOURCE_DIR "/docs/protocol.md"));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.errorString()));
    doc = QString::fromUtf8(file.readAll());
}

void TestProtocolDoc::examplesAreTheCodecs_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("listed");

    ModifyFields modify;
    modify.targetMac = MacValue;
    modify.mac = MacValue;
    modify.name = nameFieldBytes("PLC-01");
    modify.settings = settings("192.168.1.20");

    QTest::newRow("scan request") << scanRequest(0) << ScanRequestSize << false;
    QTest::newRow("scan request, second try") << scanRequest(1) << ScanRequestSize << false;
    QTest::newRow("LED flash") << ledsRequest(1, MacValue, LedCommand::Flash) << LedsRequestSize
                               << false;
    QTest::newRow("LED stop") << ledsRequest(2, MacValue, LedCommand::Stop) << LedsRequestSize
                              << false;
    QTest::newRow("modify") << modifyRequest(3, modify) << ModifyRequestSize << false;
    QTest::newRow("scan reply") << scanReplyDatagram(exampleReply()) << 98 << true;
}

void TestProtocolDoc::examplesAreTheCodecs()
{
    QFETCH(QByteArray, datagram);
    QFETCH(int, size);
    QFETCH(bool, listed);

    QCOMPARE(datagram.size(), size);
    QCOMPARE(parseScanReply(datagram).has_value(), listed);
    const QString dump = hexDump(datagram);
    QVERIFY2(doc.contains(dump), qPrintable(QStringLiteral("docs/protocol.md lacks:\n") + dump));
}

QTEST_GUILESS_MAIN(TestProtocolDoc)
#include "tst_protocoldoc.moc"
