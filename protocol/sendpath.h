// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef SENDPATH_H
#define SENDPATH_H

#include "devicerecord.h"
#include "ipv4address.h"
#include "macaddress.h"

#include <QHostAddress>
#include <QVector>

class QNetworkInterface;

// One IPv4 address of a network interface, with the length of its subnet prefix.
struct InterfaceAddress
{
    QHostAddress ip;
    int prefixLength = 0;
};

// The IPv4 addresses of the interface; none when it is gone.
QVector<InterfaceAddress> ipv4AddressesOf(const QNetworkInterface &adapter);

// Whether the IP lies in the subnet of one of the addresses.
bool isOnSubnetOf(const QVector<InterfaceAddress> &addresses, const QHostAddress &ip);

// The device a request is for, as the list knows it when the request is made.
struct DeviceTarget
{
    MacAddress mac;
    Ipv4Address ip;
    // The adapter that heard the device; 0 while unknown.
    int interfaceIndex = 0;
    // Whether another device heard on that adapter answers with the same IP.
    bool ipShared = false;

    static DeviceTarget of(const DeviceRecord &device, bool ipShared = false)
    {
        return { device.mac, device.ip, device.interfaceIndex, ipShared };
    }
};

// How a request reaches a device.
enum class SendPath {
    // To the device's IP, through the routing table.
    Unicast,
    // To 255.255.255.255, out of the interface that heard the device when it
    // is known; the target MAC in the request picks the device.
    Broadcast,
};

// The one reach rule of the window and the command-line tool. A device whose
// IP another device on its adapter shares (a line of drives fresh from the
// factory) cannot be reached by that IP: it resolves to one of them only, and
// the others never see their request; so it is reached by broadcast. Any other
// device inside the subnet of one of the interface's IPv4 addresses is reached
// by unicast; outside them a unicast would follow the default route (or find
// none) and never reach the cable the device is on. An unknown interface
// leaves the way to the routing table.
SendPath sendPathFor(const DeviceTarget &target, const QVector<InterfaceAddress> &addresses);

#endif // SENDPATH_H
