// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef ADDRESSCHECK_H
#define ADDRESSCHECK_H

#include "devicerecord.h"
#include "sendpath.h"

#include <QHostAddress>
#include <QMetaType>
#include <QString>
#include <QVector>

#include <optional>

// What the system's neighbour table holds for an address after the kernel was
// made to resolve it: the states of Linux's neighbour entries.
enum class NeighbourState {
    None, // no entry at all
    Incomplete, // asked, no answer yet
    Reachable,
    Stale,
    Delay,
    Probe, // known before, being asked again
    Failed, // asked, nobody answered
    Permanent, // set by hand
    NoArp, // the adapter resolves no addresses
};

struct NeighbourEntry
{
    NeighbourState state = NeighbourState::None;
    std::optional<MacAddress> mac;
};

// The answer to "may a device take this address?": never a guess.
struct AddressCheckResult
{
    // Unchanged: the write keeps the device's IP, so nothing is asked.
    enum class Outcome { Free, InUse, NotChecked, Unchanged };
    enum class Reason {
        None,
        OtherSubnet, // the address lies on no subnet of the adapter that heard the device
        UnknownAdapter, // that adapter is gone, or was never known
        SystemError, // the system refused the probe datagram or the neighbour table
        NoAnswer, // the neighbour table settled on nothing in time
        NoResolution, // the adapter resolves no addresses (point-to-point)
    };

    Outcome outcome = Outcome::NotChecked;
    Reason reason = Reason::None;
    // In use: who holds it. A listed device gives its MAC and name, a neighbour
    // entry its MAC; this computer holding it gives neither.
    MacAddress holderMac;
    QString holderName;
    bool heldByThisComputer = false;
    // Not checked: the system's reason for SystemError.
    QString detail;

    static AddressCheckResult unchanged()
    {
        return { Outcome::Unchanged, Reason::None, {}, {}, false, {} };
    }
    static AddressCheckResult free() { return { Outcome::Free, Reason::None, {}, {}, false, {} }; }
    static AddressCheckResult inUse(MacAddress mac, const QString &name = QString())
    {
        return { Outcome::InUse, Reason::None, mac, name, false, {} };
    }
    static AddressCheckResult notChecked(Reason reason, const QString &detail = QString())
    {
        return { Outcome::NotChecked, reason, {}, {}, false, detail };
    }
};

Q_DECLARE_METATYPE(AddressCheckResult)

// Everything the decision needs, gathered by the checker.
struct AddressCheckFacts
{
    Ipv4Address newIp;
    Ipv4Address currentIp;
    // The device to be written: its own MAC in the neighbour table is no holder.
    MacAddress deviceMac;
    // Another device heard on the same adapter that holds the new IP.
    std::optional<DeviceRecord> listHolder;
    // The IPv4 addresses of the adapter that heard the device; empty when unknown.
    QVector<InterfaceAddress> adapterAddresses;
    // Why the probe datagram could not be sent or the neighbour table not read;
    // empty while all went well.
    QString systemError;
    NeighbourEntry neighbour;
    bool deadlinePassed = false;
};

// The check's answer from what is known so far; nothing while the neighbour
// table is still to be asked, or still asking. A listed holder is known at once;
// a new IP outside every subnet of the adapter cannot be asked about (the kernel
// would resolve the gateway, not the address).
std::optional<AddressCheckResult> decideAddressCheck(const AddressCheckFacts &facts);

// Another device heard on the device's adapter that holds the IP, if any.
std::optional<DeviceRecord> listedHolderOf(
    const QVector<DeviceRecord> &devices, const DeviceRecord &device, Ipv4Address ip);

// The result in the audit log's words: "free", "in use by MAC", "not checked: other subnet".
QString addressCheckText(const AddressCheckResult &result);

#endif // ADDRESSCHECK_H
