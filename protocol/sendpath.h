// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef SENDPATH_H
#define SENDPATH_H

#include <QHostAddress>
#include <QVector>

// One IPv4 address of a network interface, with the length of its subnet prefix.
struct InterfaceAddress
{
    QHostAddress ip;
    int prefixLength = 0;
};

// The IPv4 addresses of the interface with the index; none when it is gone.
QVector<InterfaceAddress> interfaceIpv4Addresses(int interfaceIndex);

// Whether the IP lies in the subnet of one of the addresses.
bool isOnSubnetOf(const QVector<InterfaceAddress> &addresses, const QHostAddress &ip);

// How a request reaches a device heard on an interface.
enum class SendPath {
    // To the device's IP, through the routing table.
    Unicast,
    // To 255.255.255.255 out of that interface only; the target MAC in the
    // request picks the device.
    BroadcastOnInterface,
};

// A device inside the subnet of one of the interface's IPv4 addresses is
// reached by unicast. Outside them a unicast would follow the default route
// (or find none) and never reach the cable the device is on. An unknown
// interface (index 0) leaves the choice to the routing table.
SendPath sendPathFor(
    int interfaceIndex, const QVector<InterfaceAddress> &addresses, const QHostAddress &deviceIp);

#endif // SENDPATH_H
