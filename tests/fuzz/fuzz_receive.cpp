// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

// Every datagram the endpoint reads goes through the codec's acceptance rules and,
// when accepted, into the record that the device list shows.

#include "datagramcodec.h"
#include "devicerecord.h"
#include "devicetext.h"

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void checkAccepted(const QByteArray &datagram, const Datagram::ScanReply &reply)
{
    require(datagram.size() >= Datagram::MinReplySize);
    require(reply.mac.size() == Datagram::MacSize);
    require(reply.name.size() >= Datagram::MinNameSize);
    require(reply.name.size() <= Datagram::NameFieldSize);
    require(reply.network.size() == Datagram::NetworkSize);

    // The same values sent by a device read back the same; items that were
    // skipped or absent can leave them too short to be a reply on their own.
    const QByteArray resent = Datagram::scanReplyDatagram(reply);
    const std::optional<Datagram::ScanReply> again = Datagram::parseScanReply(resent);
    require(again.has_value() == (resent.size() >= Datagram::MinReplySize));
    require(!again
        || (again->deviceType == reply.deviceType && again->mac == reply.mac
            && again->name == reply.name && again->version == reply.version
            && again->network == reply.network && again->points == reply.points));

    const DeviceRecord record = deviceRecordFromReply(reply);
    require(record.mac.toBytes() == reply.mac);
    require(record.settings().toBytes() == reply.network);
    require(MacAddress::fromText(record.mac.toString()) == record.mac);
    require(Ipv4Address::fromText(record.ip.toString()) == record.ip);
    require(reply.version.isEmpty() == record.version.isEmpty());
    require(record.nameBytes == reply.name && record.name().size() <= Datagram::NameFieldSize);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 65507)
        return 0;
    const QByteArray datagram
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), int(size));
    if (const std::optional<Datagram::ScanReply> reply = Datagram::parseScanReply(datagram))
        checkAccepted(datagram, *reply);
    return 0;
}
