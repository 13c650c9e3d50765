// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicerecord.h"

#include "devicetext.h"
#include "safetext.h"

#include <QCryptographicHash>
#include <QtEndian>

namespace {

QString dotted(const QByteArray &bytes)
{
    QString text;
    dottedDecimalText(text, bytes);
    return text;
}

// A plant lists thousands of devices of four types: every record of a type
// shares one text instead of carrying its own copy.
QString typeText(quint8 code)
{
    static const QString names[] = { QStringLiteral("PLC"), QStringLiteral("HMI"),
        QStringLiteral("SERVO"), QStringLiteral("VFD") };
    const QByteArray name = Datagram::deviceTypeName(code);
    for (const QString &known : names) {
        if (known == QLatin1String(name))
            return known;
    }
    return {};
}

// The dotted text of an item that may carry tens of kilobytes, bounded. Every
// byte gives at least two characters, so the bytes past MaxShownTextBytes
// never show and are not even turned into text.
QString boundedDotted(const QByteArray &bytes)
{
    return boundedText(dotted(bytes.left(MaxShownTextBytes + 1)));
}

// 64 bits of a cryptographic hash: no reply of a plant meets another's, nor
// can one be made up to meet a given reply, and a row keeps 8 bytes rather
// than a reply of any length.
quint64 replyDigest(const Datagram::ScanReply &reply)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray(1, char(reply.deviceType)));
    for (const QByteArray *item :
        { &reply.mac, &reply.name, &reply.version, &reply.network, &reply.points }) {
        // Each length first, so that no bytes can move from one item into the next.
        const quint32 size = quint32(item->size());
        const char length[] = { char(size >> 24), char(size >> 16), char(size >> 8), char(size) };
        hash.addData(QByteArray::fromRawData(length, sizeof length));
        hash.addData(*item);
    }
    return qFromBigEndian<quint64>(hash.result().constData());
}

} // namespace

DeviceRecord deviceRecordFromReply(const Datagram::ScanReply &reply)
{
    DeviceRecord record;
    record.type = typeText(reply.deviceType);
    record.nameBytes = reply.name;
    record.name = deviceNameFromBytes(reply.name);
    bytesToMacText(record.mac, reply.mac);
    record.ip = dotted(reply.network.mid(0, 4));
    record.mask = dotted(reply.network.mid(4, 4));
    record.gateway = dotted(reply.network.mid(8, 4));
    record.version = boundedDotted(reply.version);
    record.points = boundedDotted(reply.points);
    record.replyDigest = replyDigest(reply);
    return record;
}
