// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"
#include "devicetext.h"
#include "testdevices.h"

#include <QtTest>

using namespace Datagram;

namespace {

const QByteArray Mac = QByteArray::fromHex("001a2b3c4d5e");
const MacAddress MacValue = *MacAddress::fromBytes(Mac);
const QByteArray Network = QByteArray::fromHex("c0a8010affffff00c0a80101");
const QByteArray Name16 = QByteArrayLiteral("Press-Line-PLC01");

QByteArray reply(const QVector<Item> &items, quint8 type = 1)
{
    return frame(type, items, 7);
}

// Items 1 to 5 with a 16-byte name: 92 bytes plus the version and points.
QVector<Item> validItems(const QByteArray &version, const QByteArray &points = {})
{
    return { { MacItem, Mac }, { NameItem, Name16 }, { VersionItem, version },
        { NetworkItem, Network }, { PointsItem, points } };
}

QByteArray withItemCount(QByteArray datagram, char count)
{
    datagram[9] = count;
    return datagram;
}

QByteArray withFrameLength(QByteArray datagram, quint32 length)
{
    qToBigEndian(length, datagram.data() + 10);
    return datagram;
}

// A reply whose third item claims more bytes than the datagram holds.
QByteArray lyingLengthReply(quint32 claimed)
{
    QByteArray datagram = reply(validItems(QByteArray(20, '\1')));
    // Offset of the version item's length: header, MAC item, name item, version id.
    const int offset = HeaderSize + (8 + MacSize) + (8 + 16) + 4;
    char length[4];
    qToBigEndian(claimed, length);
    datagram.replace(offset, int(sizeof length), length, int(sizeof length));
    return datagram;
}

} // namespace

class TestDatagramCodec : public QObject
{
    Q_OBJECT

private slots:
    void requests_data();
    void requests();
    void sequenceNumberWraps();
    void replyAcceptance_data();
    void replyAcceptance();
    void requestsAreReadBack_data();
    void requestsAreReadBack();
    void addressForms_data();
    void addressForms();
    void nameField_data();
    void nameField();
    void deviceTypeNames();
    void reportedNameBytes_data();
    void reportedNameBytes();
    void settingsRules_data();
    void settingsRules();
    void macForms_data();
    void macForms();
};

void TestDatagramCodec::requests_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<QByteArray>("expected");

    ModifyFields modify;
    modify.targetMac = macOf(QStringLiteral("00:1A:2B:3C:4D:5E"));
    modify.mac = macOf(QStringLiteral("00:1a:2b:3c:4d:5f"));
    modify.name = nameFieldBytes(QStringLiteral("PLC1"));
    modify.settings = { ipOf(QStringLiteral("192.168.1.10")), ipOf(QStringLiteral("255.255.255.0")),
        ipOf(QStringLiteral("192.168.1.1")) };

    QTest::newRow("scan, sequence 0")
        << scanRequest(0)
        << QByteArray::fromHex("4b4f5256414e01f000010000002e00000000"
                               "00000000000000140000000100000002000000030000000400000005");
    QTest::newRow("LED flash, sequence 1")
        << ledsRequest(1, macOf(QStringLiteral("00:1A:2B:3C:4D:5E")), LedCommand::Flash)
        << QByteArray::fromHex("4b4f5256414e01f000020000002a00000001"
                               "0000000800000006001a2b3c4d5e00000006000000020002");
    QTest::newRow("LED stop, lower-case MAC text")
        << ledsRequest(1, macOf(QStringLiteral("00:1a:2b:3c:4d:5e")), LedCommand::Stop)
        << QByteArray::fromHex("4b4f5256414e01f000020000002a00000001"
                               "0000000800000006001a2b3c4d5e00000006000000020000");
    QTest::newRow("modify, four-character name")
        << modifyRequest(2, modify)
        << QByteArray::fromHex("4b4f5256414e01f000040000005a00000002"
                               "0000000800000006001a2b3c4d5e"
                               "0000000100000006001a2b3c4d5f"
                               "0000000200000010504c4331202020202020202020202020"
                               "000000040000000cc0a8010affffff00c0a80101");
}

void TestDatagramCodec::requests()
{
    QFETCH(QByteArray, datagram);
    QFETCH(QByteArray, expected);
    QCOMPARE(datagram.toHex(), expected.toHex());
    // The frame length field always names the whole datagram.
    QCOMPARE(qFromBigEndian<quint32>(datagram.constData() + 10), quint32(datagram.size()));
}

void TestDatagramCodec::sequenceNumberWraps()
{
    QCOMPARE(scanRequest(0xFFFFFFFF).mid(14, 4).toHex(), QByteArray("ffffffff"));
}

void TestDatagramCodec::replyAcceptance_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<QByteArray>("points");

    const QByteArray v4 = QByteArray::fromHex("0102000a");
    const QByteArray none;

    QTest::newRow("96 bytes") << reply(validItems(v4)) << true << Name16 << v4 << none;
    QTest::newRow("95 bytes") << reply(validItems(QByteArray(3, '\1'))) << false << none << none
                              << none;
    const QByteArray points34(34, '\2');
    QTest::newRow("130 bytes, length read unsigned")
        << reply(validItems(v4, points34)) << true << Name16 << v4 << points34;
    QTest::newRow("frame length one more than size")
        << withFrameLength(reply(validItems(v4)), 97) << false << none << none << none;
    QTest::newRow("frame length one less than size")
        << withFrameLength(reply(validItems(v4, "x")), 96) << false << none << none << none;
    QTest::newRow("item count 4") << withItemCount(reply(validItems(v4)), 4) << false << none
                                  << none << none;
    QTest::newRow("item count 6") << withItemCount(reply(validItems(v4)), 6) << false << none
                                  << none << none;
    QTest::newRow("item count -1")
        << withItemCount(reply(validItems(v4)), char(0xFF)) << false << none << none << none;

    for (int size : { 5, 6, 16, 17 }) {
        const QByteArray name(size, 'N');
        const QByteArray padding(30, '\3');
        QTest::addRow("name of %d bytes", size)
            << reply({ { MacItem, Mac }, { NameItem, name }, { VersionItem, padding },
                   { NetworkItem, Network }, { PointsItem, {} } })
            << (size >= 6 && size <= 16) << name << padding << none;
    }
    QTest::newRow("MAC of 7 bytes") << reply({ { MacItem, Mac + 'x' }, { NameItem, Name16 },
        { VersionItem, v4 }, { NetworkItem, Network }, { PointsItem, {} } })
                                    << false << none << none << none;
    QTest::newRow("network of 11 bytes") << reply({ { MacItem, Mac }, { NameItem, Name16 },
        { VersionItem, v4 + 'x' }, { NetworkItem, Network.left(11) }, { PointsItem, {} } })
                                         << false << none << none << none;
    QTest::newRow("ids 1, 2, 4, 5, 0: no version")
        << reply({ { MacItem, Mac }, { NameItem, Name16 }, { NetworkItem, Network },
               { PointsItem, v4 }, { QueryItem, QByteArray(8, '\0') } })
        << true << Name16 << none << v4;
    QTest::newRow("id 9 stops the reading") << reply({ { MacItem, Mac }, { NameItem, Name16 },
        { NetworkItem, Network }, { 9, QByteArray(8, '\0') }, { VersionItem, v4 } })
                                            << true << Name16 << none << none;
    QTest::newRow("later item replaces earlier")
        << reply({ { NameItem, QByteArrayLiteral("first-name") }, { MacItem, Mac },
               { NameItem, Name16 }, { NetworkItem, Network }, { VersionItem, v4 } })
        << true << Name16 << v4 << none;
    QTest::newRow("id 6 carries no value: its length is read as the next id") << reply(
        { { MacItem, Mac }, { NameItem, Name16 }, { NetworkItem, Network }, { LedControlItem, {} },
            { VersionItem, v4 } }) << true << Name16 << none << none;
    QTest::newRow("10 bytes") << QByteArray("KORVAN\1\1\0\5", 10) << false << none << none << none;
    QTest::newRow("empty") << QByteArray() << false << none << none << none;
    QByteArray foreign = reply(validItems(v4));
    foreign.replace(0, 6, "KORVAM");
    QTest::newRow("foreign magic") << foreign << false << none << none << none;
    QTest::newRow("length runs past the end")
        << lyingLengthReply(200) << false << none << none << none;
    QTest::newRow("length claims gigabytes")
        << lyingLengthReply(0xFFFFFFF0) << false << none << none << none;
}

void TestDatagramCodec::replyAcceptance()
{
    QFETCH(QByteArray, datagram);
    QFETCH(bool, accepted);

    const std::optional<ScanReply> parsed = parseScanReply(datagram);
    QCOMPARE(parsed.has_value(), accepted);
    if (!accepted)
        return;
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, version);
    QFETCH(QByteArray, points);
    QCOMPARE(parsed->mac, Mac);
    QCOMPARE(parsed->network, Network);
    QCOMPARE(parsed->name, name);
    QCOMPARE(parsed->version, version);
    QCOMPARE(parsed->points, points);
}

void TestDatagramCodec::requestsAreReadBack_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<int>("kind");

    ModifyFields modify;
    modify.targetMac = MacValue;
    modify.mac = MacValue;
    modify.name = nameFieldBytes(QStringLiteral("AB"));
    modify.settings = *DeviceSettings::fromBytes(Network);
    QTest::newRow("scan") << scanRequest(3) << int(Request::Scan);
    QTest::newRow("flash") << ledsRequest(3, MacValue, LedCommand::Flash)
                           << int(Request::LedsFlash);
    QTest::newRow("stop") << ledsRequest(3, MacValue, LedCommand::Stop) << int(Request::LedsStop);
    QTest::newRow("modify") << modifyRequest(3, modify) << int(Request::Modify);
    QTest::newRow("a reply is no request") << reply(validItems("1234")) << -1;
    QTest::newRow("LED value 1") << frame(
        RequestDeviceType, { { TargetMacItem, Mac }, { LedControlItem, QByteArray("\0\1", 2) } }, 3)
                                 << -1;
}

void TestDatagramCodec::requestsAreReadBack()
{
    QFETCH(QByteArray, datagram);
    QFETCH(int, kind);

    const std::optional<Request> request = parseRequest(datagram);
    QCOMPARE(request.has_value(), kind >= 0);
    if (!request)
        return;
    QCOMPARE(int(request->kind), kind);
    QCOMPARE(request->sequenceNo, 3u);
    if (kind != Request::Scan)
        QCOMPARE(request->targetMac, MacValue);
    if (kind == Request::Modify)
        QCOMPARE(request->modify.settings.toBytes().toHex(), Network.toHex());
}

void TestDatagramCodec::addressForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown"); // empty: no address

    QTest::newRow("plain") << "192.168.1.10"
                           << "192.168.1.10";
    QTest::newRow("leading zeros") << "192.168.001.010"
                                   << "192.168.1.10";
    QTest::newRow("ends") << "0.0.0.0"
                          << "0.0.0.0";
    QTest::newRow("all ones") << "255.255.255.255"
                              << "255.255.255.255";
    QTest::newRow("group above 255") << "192.168.1.256"
                                     << "";
    QTest::newRow("four digits") << "192.168.1.0010"
                                 << "";
    QTest::newRow("three groups") << "192.168.1"
                                  << "";
    QTest::newRow("five groups") << "192.168.1.1.1"
                                 << "";
    QTest::newRow("empty group") << "192..1.1"
                                 << "";
    QTest::newRow("trailing dot") << "192.168.1.1."
                                  << "";
    QTest::newRow("trailing line break") << "192.168.1.1\n"
                                         << "";
    QTest::newRow("blank around") << " 192.168.1.1"
                                  << "";
    QTest::newRow("sign") << "+1.2.3.4"
                          << "";
    // Arabic-Indic digits are digits to Unicode, not to a device.
    QTest::newRow("non-ASCII digit") << QString::fromUtf8("1.2.3.\u0664") << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestDatagramCodec::addressForms()
{
    QFETCH(QString, text);
    QFETCH(QString, shown);

    const std::optional<Ipv4Address> address = Ipv4Address::fromText(text);
    QCOMPARE(address ? address->toString() : QString(), shown);
    if (address) {
        QCOMPARE(Ipv4Address::fromBytes(address->toBytes()), address);
        QCOMPARE(address->toBytes().size(), Ipv4Address::Size);
    }
}

void TestDatagramCodec::nameField_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("ASCII, padded") << "PLC1" << QByteArray("PLC1            ");
    QTest::newRow("ASCII, cut") << "ABCDEFGHIJKLMNOPQR" << QByteArray("ABCDEFGHIJKLMNOP");
    QTest::newRow("Chinese, its UTF-8 bytes")
        << QString::fromUtf8("冲压线") << QByteArray::fromHex("e586b2e58e8be7babf20202020202020");
    QTest::newRow("Chinese, cut on a character boundary")
        << QString::fromUtf8("一二三四五六")
        << QByteArray("\xe4\xb8\x80\xe4\xba\x8c\xe4\xb8\x89"
                      "\xe5\x9b\x9b\xe4\xba\x94 ");
}

void TestDatagramCodec::nameField()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    const QByteArray field = nameFieldBytes(name);
    QCOMPARE(field.toHex(), bytes.toHex());
    QVERIFY(!QString::fromUtf8(field).contains(QChar::ReplacementCharacter));
}

void TestDatagramCodec::deviceTypeNames()
{
    QCOMPARE(deviceTypeName(1), QStringLiteral("PLC"));
    QCOMPARE(deviceTypeName(2), QStringLiteral("HMI"));
    QCOMPARE(deviceTypeName(3), QStringLiteral("SERVO"));
    QCOMPARE(deviceTypeName(4), QStringLiteral("VFD"));
    QCOMPARE(deviceTypeName(0), QString());
    QCOMPARE(deviceTypeName(5), QString());
    QCOMPARE(deviceTypeName(255), QString());
}

void TestDatagramCodec::reportedNameBytes_data()
{
    QTest::addColumn<QByteArray>("reported");
    QTest::addColumn<QByteArray>("field");

    QTest::newRow("ASCII") << QByteArray("ABCD") << QByteArray("ABCD            ");
    QTest::newRow("zero-padded, bytes after the zero dropped")
        << QByteArray("ABCD\0\0x\0", 8) << QByteArray("ABCD            ");
    QTest::newRow("16 bytes without a zero")
        << QByteArray("Module 16 bytes!") << QByteArray("Module 16 bytes!");
    QTest::newRow("GBK, not valid UTF-8") << QByteArray::fromHex(
        "b1c3d5be3100") << QByteArray::fromHex("b1c3d5be31").leftJustified(16, ' ');
    QTest::newRow("UTF-8 Chinese") << QByteArray("\xe4\xbc\xba\xe6\x9c\x8d X")
                                   << QByteArray("\xe4\xbc\xba\xe6\x9c\x8d X        ");
}

void TestDatagramCodec::reportedNameBytes()
{
    QFETCH(QByteArray, reported);
    QFETCH(QByteArray, field);

    QCOMPARE(nameFieldFromReported(reported).toHex(' '), field.toHex(' '));
}

void TestDatagramCodec::settingsRules_data()
{
    QTest::addColumn<QString>("ip");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("gateway");
    QTest::addColumn<QString>("error");

    const QString ipError = QStringLiteral("IP Address Error!");
    const QString maskError = QStringLiteral("Net Mask Error!");
    const QString gatewayError = QStringLiteral("Gate Way Error!");
    QTest::newRow("ordinary") << "192.0.2.10"
                              << "255.255.255.0"
                              << "192.0.2.1" << QString();
    QTest::newRow("no gateway") << "192.0.2.10"
                                << "255.255.255.0"
                                << "0.0.0.0" << QString();
    QTest::newRow("/31 has no broadcast") << "192.0.2.11"
                                          << "255.255.255.254"
                                          << "0.0.0.0" << QString();
    QTest::newRow("/32") << "192.0.2.10"
                         << "255.255.255.255"
                         << "0.0.0.0" << QString();
    QTest::newRow("0.0.0.0") << "0.0.0.0"
                             << "255.255.255.0"
                             << "0.0.0.0" << ipError;
    QTest::newRow("limited broadcast") << "255.255.255.255"
                                       << "255.255.255.0"
                                       << "0.0.0.0" << ipError;
    QTest::newRow("loopback") << "127.0.0.5"
                              << "255.0.0.0"
                              << "0.0.0.0" << ipError;
    QTest::newRow("multicast") << "224.0.0.1"
                               << "255.255.255.0"
                               << "0.0.0.0" << ipError;
    QTest::newRow("reserved") << "240.0.0.1"
                              << "255.255.255.0"
                              << "0.0.0.0" << ipError;
    QTest::newRow("just below multicast") << "223.255.255.1"
                                          << "255.255.255.0"
                                          << "0.0.0.0" << QString();
    QTest::newRow("network address") << "192.0.2.0"
                                     << "255.255.255.0"
                                     << "0.0.0.0" << ipError;
    QTest::newRow("subnet broadcast") << "192.0.2.63"
                                      << "255.255.255.192"
                                      << "0.0.0.0" << ipError;
    QTest::newRow("mask 0.0.0.0") << "192.0.2.10"
                                  << "0.0.0.0"
                                  << "0.0.0.0" << maskError;
    QTest::newRow("mask with a gap") << "192.0.2.10"
                                     << "255.0.255.0"
                                     << "0.0.0.0" << maskError;
    QTest::newRow("mask of a reversed order") << "192.0.2.10"
                                              << "0.255.255.255"
                                              << "0.0.0.0" << maskError;
    QTest::newRow("gateway outside") << "192.0.2.10"
                                     << "255.255.255.0"
                                     << "192.0.3.1" << gatewayError;
    QTest::newRow("gateway is the IP") << "192.0.2.10"
                                       << "255.255.255.0"
                                       << "192.0.2.10" << gatewayError;
    QTest::newRow("bad ip before bad mask") << "127.0.0.1"
                                            << "0.0.0.0"
                                            << "0.0.0.0" << ipError;
}

void TestDatagramCodec::settingsRules()
{
    QFETCH(QString, ip);
    QFETCH(QString, mask);
    QFETCH(QString, gateway);
    QFETCH(QString, error);

    const std::optional<SettingsFault> fault
        = settingsFault(ip, mask, gateway, QStringLiteral("02:00:00:00:00:01"));
    QCOMPARE(fault ? settingsFieldErrorText(fault->field) : QString(), error);
}

void TestDatagramCodec::macForms_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mac");

    const QString mac = QStringLiteral("00:1A:2B:3C:4D:5E");
    QTest::newRow("colons") << "00:1A:2B:3C:4D:5E" << mac;
    QTest::newRow("dashes, lower case") << "00-1a-2b-3c-4d-5e" << mac;
    QTest::newRow("no separator") << "001a2B3c4D5e" << mac;
    QTest::newRow("mixed separators") << "00:1A-2B:3C-4D:5E" << QString();
    QTest::newRow("one separator missing") << "00:1A2B:3C:4D:5E" << QString();
    QTest::newRow("five bytes") << "00:1A:2B:3C:4D" << QString();
    QTest::newRow("not hex") << "00:1A:2B:3C:4D:5G" << QString();
    QTest::newRow("trailing line break") << "001A2B3C4D5E\n" << QString();
}

void TestDatagramCodec::macForms()
{
    QFETCH(QString, text);
    QFETCH(QString, mac);

    const std::optional<MacAddress> value = MacAddress::fromText(text);
    QCOMPARE(value ? value->toString() : QString(), mac);
    if (value)
        QCOMPARE(MacAddress::fromBytes(value->toBytes()), value);
}

QTEST_APPLESS_MAIN(TestDatagramCodec)
#include "tst_datagramcodec.moc"
