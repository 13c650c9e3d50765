// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "sendpath.h"

#include <algorithm>

SendPath sendPathFor(const DeviceTarget &target, const QVector<InterfaceAddress> &addresses)
{
    if (target.ipShared)
        return SendPath::Broadcast;
    if (target.interfaceIndex == 0)
        return SendPath::Unicast;
    const QHostAddress deviceIp(target.ip.toUInt32());
    const bool inSubnet
        = std::any_of(addresses.cbegin(), addresses.cend(), [&](const InterfaceAddress &address) {
              return address.ip.protocol() == QAbstractSocket::IPv4Protocol
                  && deviceIp.isInSubnet(address.ip, address.prefixLength);
          });
    return inSubnet ? SendPath::Unicast : SendPath::Broadcast;
}
