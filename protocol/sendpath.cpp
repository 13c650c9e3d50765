// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "sendpath.h"

#include <QNetworkInterface>

#include <algorithm>

QVector<InterfaceAddress> ipv4AddressesOf(const QNetworkInterface &adapter)
{
    QVector<InterfaceAddress> addresses;
    const QList<QNetworkAddressEntry> entries = adapter.addressEntries();
    for (const QNetworkAddressEntry &entry : entries) {
        if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
            addresses.append({ entry.ip(), entry.prefixLength() });
    }
    return addresses;
}

bool isOnSubnetOf(const QVector<InterfaceAddress> &addresses, const QHostAddress &ip)
{
    return std::any_of(addresses.cbegin(), addresses.cend(), [&](const InterfaceAddress &address) {
        return address.ip.protocol() == QAbstractSocket::IPv4Protocol
            && ip.protocol() == QAbstractSocket::IPv4Protocol
            && ip.isInSubnet(address.ip, address.prefixLength);
    });
}

SendPath sendPathFor(const DeviceTarget &target, const QVector<InterfaceAddress> &addresses)
{
    if (target.ipShared)
        return SendPath::Broadcast;
    if (target.interfaceIndex == 0)
        return SendPath::Unicast;
    return isOnSubnetOf(addresses, QHostAddress(target.ip.toUInt32())) ? SendPath::Unicast
                                                                        : SendPath::Broadcast;
}
