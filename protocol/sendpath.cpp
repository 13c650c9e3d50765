// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "sendpath.h"

#include <algorithm>

SendPath sendPathFor(
    int interfaceIndex, const QVector<InterfaceAddress> &addresses, const QHostAddress &deviceIp)
{
    if (interfaceIndex == 0)
        return SendPath::Unicast;
    const bool inSubnet
        = std::any_of(addresses.cbegin(), addresses.cend(), [&](const InterfaceAddress &address) {
              return address.ip.protocol() == QAbstractSocket::IPv4Protocol
                  && deviceIp.protocol() == QAbstractSocket::IPv4Protocol
                  && deviceIp.isInSubnet(address.ip, address.prefixLength);
          });
    return inSubnet ? SendPath::Unicast : SendPath::BroadcastOnInterface;
}
