// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"

#include <QDataStream>
#include <QIODevice>

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

int hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

int decimalDigitValue(const QString &text, int position)
{
    if (position >= text.size())
        return -1;
    const ushort c = text.at(position).unicode();
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

bool isDotAt(const QString &text, int position)
{
    return position < text.size() && text.at(position) == QLatin1Char('.');
}

char lowByte(int value)
{
    return char(value & 0xFF);
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

QByteArray ledsRequest(quint32 sequenceNo, const QByteArray &targetMac, LedCommand command)
{
    QByteArray ledControl;
    QDataStream out(&ledControl, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::BigEndian);
    out << qint16(command);
    return frame(RequestDeviceType,
        { { TargetMacItem, targetMac }, { LedControlItem, ledControl } }, sequenceNo);
}

QByteArray modifyRequest(quint32 sequenceNo, const ModifyFields &fields)
{
    return frame(RequestDeviceType,
        { { TargetMacItem, fields.targetMac }, { MacItem, fields.mac }, { NameItem, fields.name },
            { NetworkItem, fields.network } },
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

QByteArray deviceTypeName(quint8 code)
{
    switch (code) {
    case 1:
        return QByteArrayLiteral("PLC");
    case 2:
        return QByteArrayLiteral("HMI");
    case 3:
        return QByteArrayLiteral("SERVO");
    case 4:
        return QByteArrayLiteral("VFD");
    default:
        return {};
    }
}

QByteArray hexStrToBytes(const QString &text)
{
    const QByteArray latin1 = text.toLatin1();
    QByteArray bytes;
    for (int i = 0; i < latin1.size(); i += 2) {
        const int high = hexDigitValue(latin1.at(i));
        const int low = i + 1 < latin1.size() ? hexDigitValue(latin1.at(i + 1)) : -1;
        bytes.append(lowByte(16 * high + low));
    }
    return bytes;
}

QByteArray ipStrToBytes(const QString &text)
{
    QByteArray bytes;
    int p = 0;
    while (p < text.size()) {
        if (isDotAt(text, p)) {
            bytes.append(char(0));
            p += 1;
        } else if (isDotAt(text, p + 1)) {
            bytes.append(lowByte(decimalDigitValue(text, p)));
            p += 2;
        } else if (isDotAt(text, p + 2)) {
            bytes.append(lowByte(10 * decimalDigitValue(text, p) + decimalDigitValue(text, p + 1)));
            p += 3;
        } else {
            if (isDotAt(text, p + 3))
                bytes.append(lowByte(100 * decimalDigitValue(text, p)
                    + 10 * decimalDigitValue(text, p + 1) + decimalDigitValue(text, p + 2)));
            p += 4;
        }
    }
    return bytes;
}

QByteArray macTextToBytes(const QString &macText)
{
    QString digits = macText;
    digits.remove(QLatin1Char(':'));
    return hexStrToBytes(digits);
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

QByteArray networkBytes(const QString &ip, const QString &netMask, const QString &gateWay)
{
    const QString dot = QStringLiteral(".");
    return ipStrToBytes(ip + dot + netMask + dot + gateWay + dot);
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
            request.targetMac = value;
            break;
        case MacItem:
            request.modify.mac = value;
            break;
        case NameItem:
            request.modify.name = value;
            break;
        case NetworkItem:
            request.modify.network = value;
            break;
        case LedControlItem:
            if (value.size() == 2)
                ledControl = qint16((quint8(value.at(0)) << 8) | quint8(value.at(1)));
            break;
        default:
            break;
        }
    }
    request.modify.targetMac = request.targetMac;

    if (hasQuery) {
        request.kind = Request::Scan;
        return request;
    }
    if (request.targetMac.size() != MacSize)
        return std::nullopt;
    if (ledControl) {
        if (*ledControl != qint16(LedCommand::Flash) && *ledControl != qint16(LedCommand::Stop))
            return std::nullopt;
        request.kind
            = *ledControl == qint16(LedCommand::Flash) ? Request::LedsFlash : Request::LedsStop;
        return request;
    }
    if (request.modify.mac.size() == MacSize && request.modify.name.size() == NameFieldSize
        && request.modify.network.size() == NetworkSize) {
        request.kind = Request::Modify;
        return request;
    }
    return std::nullopt;
}

} // namespace Datagram
