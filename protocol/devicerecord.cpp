// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicerecord.h"

#include "devicetext.h"
#include "safetext.h"

#include <QCryptographicHash>
#include <QtEndian>

namespace {

// The dotted text of an item that may carry tens of kilobytes, bounded. Every
// byte gives at least two characters, so the bytes past MaxShownTextBytes
// never show and are not even turned into text.
QString boundedDotted(const QByteArray &bytes)
{
    QString text;
    dottedDecimalText(text, bytes.left(MaxShownTextBytes + 1));
    return boundedText(text);
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

QString DeviceRecord::name() const
{
    return deviceNameFromBytes(nameBytes);
}

DeviceRecord deviceRecordFromReply(const Datagram::ScanReply &reply)
{
    DeviceRecord record;
    record.type = reply.deviceType;
    record.nameBytes = reply.name;
    // An accepted reply has six MAC bytes and twelve network bytes.
    record.mac = MacAddress::fromBytes(reply.mac).value_or(MacAddress());
    const DeviceSettings settings
        = DeviceSettings::fromBytes(reply.network).value_or(DeviceSettings());
    record.ip = settings.ip;
    record.mask = settings.mask;
    record.gateway = settings.gateway;
    record.version = boundedDotted(reply.version);
    record.points = boundedDotted(reply.points);
    record.replyDigest = replyDigest(reply);
    return record;
}
