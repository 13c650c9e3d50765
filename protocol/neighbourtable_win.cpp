// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

// The system's headers name a type of their own Ipv4Address (network access
// protection, which Nesdrix never uses): theirs is renamed out of the way.
#define Ipv4Address WindowsNapIpv4Address
#include <winsock2.h>
#include <ws2ipdef.h>
#include <iphlpapi.h>
#include <netioapi.h>
#undef Ipv4Address

#include "neighbourtable.h"

#include <QHostAddress>

namespace {

NeighbourState stateOf(NL_NEIGHBOR_STATE state)
{
    switch (state) {
    case NlnsUnreachable: // resolved and nobody answered
        return NeighbourState::Failed;
    case NlnsIncomplete:
        return NeighbourState::Incomplete;
    case NlnsProbe:
        return NeighbourState::Probe;
    case NlnsDelay:
        return NeighbourState::Delay;
    case NlnsStale:
        return NeighbourState::Stale;
    case NlnsReachable:
        return NeighbourState::Reachable;
    case NlnsPermanent:
        return NeighbourState::Permanent;
    default:
        return NeighbourState::None;
    }
}

} // namespace

bool readNeighbourEntry(
    int interfaceIndex, const QHostAddress &ip, NeighbourEntry *entry, QString *error)
{
    *entry = NeighbourEntry();
    // The whole table rather than GetIpNetEntry2, which older systems and Wine
    // lack: a program importing it would not start there.
    MIB_IPNET_TABLE2 *table = nullptr;
    const DWORD result = GetIpNetTable2(AF_INET, &table);
    if (result == ERROR_NOT_FOUND)
        return true;
    if (result != NO_ERROR) {
        *error = qt_error_string(int(result));
        return false;
    }
    const ULONG wanted = htonl(ip.toIPv4Address());
    for (ULONG i = 0; i < table->NumEntries; ++i) {
        const MIB_IPNET_ROW2 &row = table->Table[i];
        if (row.InterfaceIndex != NET_IFINDEX(interfaceIndex)
            || row.Address.si_family != AF_INET
            || row.Address.Ipv4.sin_addr.s_addr != wanted)
            continue;
        entry->state = stateOf(row.State);
        const std::optional<MacAddress> mac = MacAddress::fromBytes(QByteArray(
            reinterpret_cast<const char *>(row.PhysicalAddress), int(row.PhysicalAddressLength)));
        // No station's address: nobody has answered, or not yet. Wine shows an
        // entry still being resolved, and a failed one, as stale without one.
        if (!mac || *mac == MacAddress()) {
            if (entry->state != NeighbourState::Failed)
                entry->state = NeighbourState::Incomplete;
        } else {
            entry->mac = mac;
        }
        break;
    }
    FreeMibTable(table);
    return true;
}
