// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef TESTDEVICES_H
#define TESTDEVICES_H

#include "datagramcodec.h"
#include "devicerecord.h"
#include "ipv4address.h"
#include "macaddress.h"

#include <QtTest>

// Values from literal texts that are known to parse; a typo fails the test
// where it is used rather than passing as 0.0.0.0.
inline MacAddress macOf(const QString &text)
{
    const std::optional<MacAddress> mac = MacAddress::fromText(text);
    if (!mac)
        qFatal("not a MAC: %s", qPrintable(text));
    return *mac;
}

inline Ipv4Address ipOf(const QString &text)
{
    const std::optional<Ipv4Address> ip = Ipv4Address::fromText(text);
    if (!ip)
        qFatal("not an IPv4 address: %s", qPrintable(text));
    return *ip;
}

// Shown by QCOMPARE when two values differ.
inline char *toString(const MacAddress &mac)
{
    return QTest::toString(mac.toString());
}

inline char *toString(const Ipv4Address &ip)
{
    return QTest::toString(ip.toString());
}

// What a test device answers a scan with, every field sound unless a test
// changes it: the one reply builder of the tests.
struct TestDevice
{
    quint8 type = 1;
    QString name = QStringLiteral("PLC");
    QString mac = QStringLiteral("00:1A:2B:3C:4D:5E");
    QString ip = QStringLiteral("192.0.2.64");
    QString mask = QStringLiteral("255.255.255.0");
    QString gateway = QStringLiteral("192.0.2.1");
    QByteArray version = QByteArray::fromHex("0102000a");
    QByteArray points;

    Datagram::ScanReply reply() const
    {
        Datagram::ScanReply reply;
        reply.deviceType = type;
        reply.mac = macOf(mac).toBytes();
        reply.name = name.toUtf8().leftJustified(Datagram::NameFieldSize, '\0');
        reply.version = version;
        reply.network = DeviceSettings { ipOf(ip), ipOf(mask), ipOf(gateway) }.toBytes();
        reply.points = points;
        return reply;
    }
    QByteArray datagram(quint32 sequenceNo = 0) const
    {
        return Datagram::scanReplyDatagram(reply(), sequenceNo);
    }
    // As the endpoint builds it from the reply, heard on no known adapter.
    DeviceRecord record() const { return deviceRecordFromReply(reply()); }
};

// "01=Press@64;02=Axis@192.0.2.65": devices of the type with MAC
// 02:4E:58:00:02:<nn>, the name and the IP, 192.0.2.<n> when only its last
// number is given.
inline QVector<DeviceRecord> devicesFromText(const QString &listText, quint8 type = 1)
{
    QVector<DeviceRecord> list;
    for (const QString &item : listText.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        TestDevice device;
        device.type = type;
        device.mac = QStringLiteral("02:4E:58:00:02:") + item.section(QLatin1Char('='), 0, 0);
        device.name = item.section(QLatin1Char('='), 1).section(QLatin1Char('@'), 0, 0);
        const QString ip = item.section(QLatin1Char('@'), 1);
        device.ip = ip.contains(QLatin1Char('.')) ? ip : QStringLiteral("192.0.2.") + ip;
        list.append(device.record());
    }
    return list;
}

#endif // TESTDEVICES_H
