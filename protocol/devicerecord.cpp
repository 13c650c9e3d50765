// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicerecord.h"

#include "devicetext.h"
#include "safetext.h"

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
    return record;
}
