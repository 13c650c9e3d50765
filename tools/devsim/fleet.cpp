// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "fleet.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTextStream>

const char FleetFileHelp[] = R"text(Fleet file: one device a line, eight fields separated by blanks:
  TYPE NAME MAC IP MASK GATEWAY VERSION POINTS
  TYPE     device type code, 0-255 (1 PLC, 2 HMI, 3 SERVO, 4 VFD; others show no type)
  NAME     UTF-8, at most 16 bytes, in double quotes if it holds blanks;
           sent padded with zero bytes to 16 bytes
  MAC      00:1A:2B:3C:4D:5E
  IP MASK GATEWAY  dotted decimal
  VERSION POINTS   bytes as dotted decimal numbers (1.2.0.10), or - for none;
                   at least 4 bytes together, or the reply is too short to be accepted
Blank lines and lines starting with # are skipped. Example:
  1 "Line 1 PLC" 02:00:5E:00:00:01 192.0.2.64 255.255.255.0 192.0.2.1 1.2.0.10 32.16)text";

namespace {

constexpr int FieldCount = 8;
const QString NoBytes = QStringLiteral("-");

bool isDottedBytesText(const QString &text)
{
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("(25[0-5]|2[0-4]\\d|1?\\d?\\d)"
                                                           "(\\.(25[0-5]|2[0-4]\\d|1?\\d?\\d))*")));
    return text == NoBytes || pattern.match(text).hasMatch();
}

// Checked by isDottedBytesText first.
QByteArray dottedBytes(const QString &text)
{
    QByteArray bytes;
    if (text != NoBytes) {
        for (const QString &part : text.split(QLatin1Char('.')))
            bytes.append(char(part.toUInt()));
    }
    return bytes;
}

// What is wrong with the fields of a device line, or nothing.
QString fieldsFault(const QStringList &fields)
{
    if (fields.size() != FieldCount)
        return QStringLiteral("%1 fields instead of %2").arg(fields.size()).arg(FieldCount);
    bool typeOk = false;
    if (fields.at(0).toUInt(&typeOk) > 255 || !typeOk)
        return QStringLiteral("type code is not 0-255");
    if (fields.at(1).toUtf8().size() > Datagram::NameFieldSize)
        return QStringLiteral("name is longer than 16 bytes");
    if (!MacAddress::fromText(fields.at(2)))
        return QStringLiteral("MAC is not like 00:1A:2B:3C:4D:5E");
    if (!DeviceSettings::fromTexts(fields.at(3), fields.at(4), fields.at(5)))
        return QStringLiteral("IP, mask or gateway is not dotted decimal");
    if (!isDottedBytesText(fields.at(6)) || !isDottedBytesText(fields.at(7)))
        return QStringLiteral("version or points is neither dotted decimal bytes nor -");
    return {};
}

} // namespace

bool parseDeviceLine(const QString &line, SimulatedDevice *device, QString *error)
{
    const QStringList fields = QProcess::splitCommand(line);
    *error = fieldsFault(fields);
    if (!error->isEmpty())
        return false;
    Datagram::ScanReply &reply = device->reply;
    reply.deviceType = quint8(fields.at(0).toUInt());
    reply.name = fields.at(1).toUtf8().leftJustified(Datagram::NameFieldSize, '\0');
    reply.mac = MacAddress::fromText(fields.at(2))->toBytes();
    reply.network = DeviceSettings::fromTexts(fields.at(3), fields.at(4), fields.at(5))->toBytes();
    reply.version = dottedBytes(fields.at(6));
    reply.points = dottedBytes(fields.at(7));
    // A shorter reply is dropped by the program: such a device would never be listed.
    if (Datagram::scanReplyDatagram(reply).size() < Datagram::MinReplySize) {
        *error = QStringLiteral("version and points have fewer than 4 bytes together, so the "
                                "reply would be shorter than the 96 bytes Nesdrix accepts");
        return false;
    }
    return true;
}

bool loadFleetFile(const QString &path, Fleet *fleet, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    QTextStream in(&file);
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    in.setCodec("UTF-8"); // Qt 6 reads UTF-8 by default
#endif
    for (int lineNo = 1; !in.atEnd(); ++lineNo) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        SimulatedDevice device;
        QString fault;
        if (!parseDeviceLine(line, &device, &fault)) {
            *error = QStringLiteral("%1:%2: %3").arg(path).arg(lineNo).arg(fault);
            return false;
        }
        fleet->append(device);
    }
    return true;
}

Fleet generatedFleet(int count)
{
    Fleet fleet;
    fleet.reserve(count);
    for (int i = 0; i < count; ++i) {
        const quint8 type = quint8(1 + i % 4);
        const int number = i + 1;
        SimulatedDevice device;
        Datagram::ScanReply &reply = device.reply;
        reply.deviceType = type;
        reply.name = (Datagram::deviceTypeName(type).toLatin1() + '-' + QByteArray::number(number))
                         .leftJustified(Datagram::NameFieldSize, '\0');
        // 02 as the first byte: a locally administered address, never a real vendor's.
        reply.mac = QByteArray::fromHex("020000") + QByteArray(1, char(number >> 16))
            + QByteArray(1, char(number >> 8)) + QByteArray(1, char(number));
        // 192.0.2.64/24, gateway 192.0.2.1.
        reply.network = DeviceSettings { Ipv4Address(0xC0000240 + i % 64), Ipv4Address(0xFFFFFF00),
            Ipv4Address(0xC0000201) }
                            .toBytes();
        reply.version = QByteArray::fromHex("0100") + QByteArray(1, char(number >> 8))
            + QByteArray(1, char(number));
        reply.points = QByteArray::fromHex("2010");
        fleet.append(device);
    }
    return fleet;
}
