// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "addresscheck.h"

#include <algorithm>

std::optional<AddressCheckResult> decideAddressCheck(const AddressCheckFacts &facts)
{
    using Reason = AddressCheckResult::Reason;
    if (facts.newIp == facts.currentIp)
        return AddressCheckResult::unchanged();
    if (facts.listHolder)
        return AddressCheckResult::inUse(facts.listHolder->mac, facts.listHolder->name());
    if (facts.adapterAddresses.isEmpty())
        return AddressCheckResult::notChecked(Reason::UnknownAdapter);
    const auto &addresses = facts.adapterAddresses;
    const QHostAddress newIp(facts.newIp.toUInt32());
    if (std::any_of(addresses.cbegin(), addresses.cend(),
            [&](const InterfaceAddress &own) { return own.ip.isEqual(newIp); })) {
        AddressCheckResult result = AddressCheckResult::inUse(MacAddress());
        result.heldByThisComputer = true;
        return result;
    }
    if (!isOnSubnetOf(addresses, newIp))
        return AddressCheckResult::notChecked(Reason::OtherSubnet);
    if (!facts.systemError.isEmpty())
        return AddressCheckResult::notChecked(Reason::SystemError, facts.systemError);

    const NeighbourEntry &entry = facts.neighbour;
    switch (entry.state) {
    case NeighbourState::Reachable:
    case NeighbourState::Stale:
    case NeighbourState::Delay:
    case NeighbourState::Permanent:
        // The device itself answering for the address takes nothing from anyone.
        if (entry.mac == facts.deviceMac)
            return AddressCheckResult::free();
        return AddressCheckResult::inUse(entry.mac.value_or(MacAddress()));
    case NeighbourState::Failed:
        return AddressCheckResult::free();
    case NeighbourState::NoArp:
        return AddressCheckResult::notChecked(Reason::NoResolution);
    case NeighbourState::None:
    case NeighbourState::Incomplete:
    case NeighbourState::Probe:
        break;
    }
    if (facts.deadlinePassed)
        return AddressCheckResult::notChecked(Reason::NoAnswer);
    return std::nullopt;
}

std::optional<DeviceRecord> listedHolderOf(
    const QVector<DeviceRecord> &devices, const DeviceRecord &device, Ipv4Address ip)
{
    for (const DeviceRecord &other : devices) {
        if (other.interfaceIndex == device.interfaceIndex && other.mac != device.mac
            && other.ip == ip)
            return other;
    }
    return std::nullopt;
}

QString addressCheckText(const AddressCheckResult &result)
{
    using Reason = AddressCheckResult::Reason;
    switch (result.outcome) {
    case AddressCheckResult::Outcome::Unchanged:
        return QStringLiteral("unchanged");
    case AddressCheckResult::Outcome::Free:
        return QStringLiteral("free");
    case AddressCheckResult::Outcome::InUse:
        return result.heldByThisComputer
            ? QStringLiteral("in use by this computer")
            : QStringLiteral("in use by %1").arg(result.holderMac.toString());
    case AddressCheckResult::Outcome::NotChecked:
        break;
    }
    switch (result.reason) {
    case Reason::OtherSubnet:
        return QStringLiteral("not checked: other subnet");
    case Reason::UnknownAdapter:
        return QStringLiteral("not checked: adapter unknown");
    case Reason::SystemError:
        return QStringLiteral("not checked: %1").arg(result.detail);
    case Reason::NoAnswer:
        return QStringLiteral("not checked: no answer in time");
    case Reason::NoResolution:
        return QStringLiteral("not checked: the adapter resolves no addresses");
    case Reason::None:
        break;
    }
    return QStringLiteral("not checked");
}
