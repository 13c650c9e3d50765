// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"

#include <QDataStream>
#include <QIODevice>

#include <iterator>

namespace Datagram {

namespace {

constexpr quint32 NullByteArrayLength = 0xFFFFFFFF;

void writeByteArray(QDataStream &out, const QByteArray &value)
{
    // Written by hand: QDataStream would mark a null array with 0xFFFFFFFF.
    out << quint32(value.size());
    out.writeRawData(value.constData(), value.size());
}

QByteArray buildFrame(
    quint8 deviceType, quint8 itemCount, const QByteArray &items, quint32 sequenceNo)
{
    QByteArray datagram;
    QDataStream out(&datagram, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::BigEndian);
    out.writeRawData(Magic, MagicSize);
    out << RequestByte6 << deviceType << ReservedByte << itemCount
        << quint32(HeaderSize + items.size()) << sequenceNo;
    out.writeRawData(items.constData(), items.size());
    return datagram;
}

QByteArray itemBytes(const QVector<Item> &items)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::BigEndian);
    for (const Item &item : items) {
        out << item.id;
        writeByteArray(out, item.value);
    }
    return bytes;
}

// Reads one byte array the way the devices write it. A length that runs past
// the end of the datagram ends the reading, as a short read would, without
// allocating anything for it.
QByteArray readByteArray(QDataStream &in)
{
    quint32 length = 0;
    in >> length;
    if (in.status() != QDataStream::Ok || length == NullByteArrayLength)
        return {};
    if (length > quint64(in.device()->bytesAvailable())) {
        in.setStatus(QDataStream::ReadPastEnd);
        return {};
    }
    QByteArray value(int(length), Qt::Uninitialized);
    in.readRawData(value.data(), value.size());
    return value;
}

struct Header
{
    quint8 deviceType = 0;
    qint8 itemCount = 0;
    quint32 frameLength = 0;
    quint32 sequenceNo = 0;
};

// Reads the header and checks the magic and that the frame length is the
// datagram's real size.
std::optional<Header> readHeader(QDataStream &in, const QByteArray &datagram)
{
    if (datagram.size() < HeaderSize || !datagram.startsWith(Magic))
        return std::nullopt;
    Header header;
    quint8 byte6 = 0;
    quint8 reserved = 0;
    in.skipRawData(MagicSize);
    in >> byte6 >> header.deviceType >> reserved >> header.itemCount >> header.frameLength
        >> header.sequenceNo;
    if (header.frameLength != quint32(datagram.size()))
        return std::nullopt;
    return header;
}

} // namespace

QByteArray frame(quint8 deviceType, const QVector<Item> &items, quint32 sequenceNo)
{
    return buildFrame(deviceType, quint8(items.size()), itemBytes(items), sequenceNo);
}

QByteArray scanRequest(quint32 sequenceNo)
{
    QByteArray query;
    QDataStream out(&query, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::BigEndian);
    // Item 0 asks every device for items 1 to 5.
    out << qint32(QueryItem) << qint32(20) << qint32(MacItem) << qint32(NameItem)
        << qint32(VersionItem) << qint32(NetworkItem) << qint32(PointsItem);
    return buildFrame(RequestDeviceType, 1, query, sequenceNo);
}

QByteArray ledsRequest(quint32 sequenceNo, MacAddress targetMac, LedCommand command)
{
    QByteArray ledControl;
    QDataStream out(&ledControl, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::BigEndian);
    out << qint16(command);
    return frame(RequestDeviceType,
        { { TargetMacItem, targetMac.toBytes() }, { LedControlItem, ledControl } }, sequenceNo);
}

QByteArray modifyRequest(quint32 sequenceNo, const ModifyFields &fields)
{
    return frame(RequestDeviceType,
        { { TargetMacItem, fields.targetMac.toBytes() }, { MacItem, fields.mac.toBytes() },
            { NameItem, fields.name }, { NetworkItem, fields.settings.toBytes() } },
        sequenceNo);
}

std::optional<ScanReply> parseScanReply(const QByteArray &datagram)
{
    QDataStream in(datagram);
    in.setByteOrder(QDataStream::BigEndian);
    const std::optional<Header> header = readHeader(in, datagram);
    if (!header || header->itemCount < 1 || header->itemCount > 6)
        return std::nullopt;

    QByteArray values[PointsItem + 1];
    for (int i = 0; i < header->itemCount; ++i) {
        qint32 id = 0;
        in >> id;
        if (in.status() != QDataStream::Ok)
            id = QueryItem;
        if (id > TargetMacItem)
            break;
        // Ids 6 to 8 and negative ids carry no value in a reply: nothing more
        // is read for them.
        if (id >= QueryItem && id <= PointsItem)
            values[id] = readByteArray(in);
    }

    const int nameSize = values[NameItem].size();
    if (header->frameLength < MinReplySize || header->itemCount != ReplyItemCount
        || values[MacItem].size() != MacSize || nameSize < MinNameSize || nameSize > NameFieldSize
        || values[NetworkItem].size() != NetworkSize)
        return std::nullopt;

    ScanReply reply;
    reply.deviceType = header->deviceType;
    reply.mac = values[MacItem];
    reply.name = values[NameItem];
    reply.version = values[VersionItem];
    reply.network = values[NetworkItem];
    reply.points = values[PointsItem];
    return reply;
}

QString deviceTypeName(quint8 code)
{
    // One text per type, shared by every record of a plant's thousands.
    static const QString names[] = { QString(), QStringLiteral("PLC"), QStringLiteral("HMI"),
        QStringLiteral("SERVO"), QStringLiteral("VFD") };
    return code < std::size(names) ? names[code] : names[0];
}

QByteArray nameFieldBytes(const QString &name)
{
    QString fitting = name;
    QByteArray bytes = fitting.toUtf8();
    while (bytes.size() > NameFieldSize) {
        fitting.chop(
            fitting.size() >= 2 && fitting.at(fitting.size() - 1).isLowSurrogate() ? 2 : 1);
        bytes = fitting.toUtf8();
    }
    return bytes.leftJustified(NameFieldSize, ' ');
}

QByteArray nameFieldFromReported(const QByteArray &reportedName)
{
    const int end = reportedName.indexOf('\0');
    const QByteArray name = end < 0 ? reportedName : reportedName.left(end);
    return name.left(NameFieldSize).leftJustified(NameFieldSize, ' ');
}

QByteArray scanReplyDatagram(const ScanReply &reply, quint32 sequenceNo)
{
    return frame(reply.deviceType,
        { { MacItem, reply.mac }, { NameItem, reply.name }, { VersionItem, reply.version },
            { NetworkItem, reply.network }, { PointsItem, reply.points } },
        sequenceNo);
}

std::optional<Request> parseRequest(const QByteArray &datagram)
{
    QDataStream in(datagram);
    in.setByteOrder(QDataStream::BigEndian);
    const std::optional<Header> header = readHeader(in, datagram);
    if (!header)
        return std::nullopt;

    Request request;
    request.sequenceNo = header->sequenceNo;
    bool hasQuery = false;
    std::optional<qint16> ledControl;
    QByteArray targetMac;
    QByteArray mac;
    QByteArray network;
    for (int i = 0; i < header->itemCount; ++i) {
        qint32 id = 0;
        in >> id;
        const QByteArray value = readByteArray(in);
        if (in.status() != QDataStream::Ok)
            return std::nullopt;
        switch (id) {
        case QueryItem:
            hasQuery = true;
            break;
        case TargetMacItem:
            targetMac = value;
            break;
        case MacItem:
            mac = value;
            break;
        case NameItem:
            request.modify.name = value;
            break;
        case NetworkItem:
            network = value;
            break;
        case LedControlItem:
            if (value.size() == 2)
                ledControl = qint16((quint8(value.at(0)) << 8) | quint8(value.at(1)));
            break;
        default:
            break;
        }
    }

    if (hasQuery) {
        request.kind = Request::Scan;
        return request;
    }
    const std::optional<MacAddress> target = MacAddress::fromBytes(targetMac);
    if (!target)
        return std::nullopt;
    request.targetMac = *target;
    request.modify.targetMac = *target;
    if (ledControl) {
        if (*ledControl != qint16(LedCommand::Flash) && *ledControl != qint16(LedCommand::Stop))
            return std::nullopt;
        request.kind
            = *ledControl == qint16(LedCommand::Flash) ? Request::LedsFlash : Request::LedsStop;
        return request;
    }
    const std::optional<MacAddress> newMac = MacAddress::fromBytes(mac);
    const std::optional<DeviceSettings> settings = DeviceSettings::fromBytes(network);
    if (!newMac || !settings || request.modify.name.size() != NameFieldSize)
        return std::nullopt;
    request.kind = Request::Modify;
    request.modify.mac = *newMac;
    request.modify.settings = *settings;
    return request;
}

} // namespace Datagram
