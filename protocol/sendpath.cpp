// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "sendpath.h"

#include <QNetworkInterface>

#include <algorithm>

QVector<InterfaceAddress> interfaceIpv4Addresses(int interfaceIndex)
{
    QVector<InterfaceAddress> addresses;
    if (interfaceIndex == 0)
        return addresses;
    const QList<QNetworkAddressEntry> entries
        = QNetworkInterface::interfaceFromIndex(interfaceIndex).addressEntries();
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

SendPath sendPathFor(
    int interfaceIndex, const QVector<InterfaceAddress> &addresses, const QHostAddress &deviceIp)
{
    if (interfaceIndex == 0)
        return SendPath::Unicast;
    return isOnSubnetOf(addresses, deviceIp) ? SendPath::Unicast : SendPath::BroadcastOnInterface;
}
