// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicerecord.h"

#include "devicetext.h"
#include "safetext.h"

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
    return record;
}
