// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "mysocket.h"

#include "datagramcodec.h"

#include <QHostAddress>
#include <QUdpSocket>

// Windows has no privileged ports and so no launcher: the program binds port
// 102 itself, as any user.
bool MySocket::bindUdpSocket()
{
    // Qt asks Windows for exclusive address use here: a second instance, or
    // another program, cannot take the port over and with it the replies.
    if (udpSocket->bind(
            QHostAddress::AnyIPv4, Datagram::DevicePort, QAbstractSocket::DontShareAddress))
        return true;
    bindError = udpSocket->errorString();
    // A port held for exclusive use is refused as "access denied" here: it
    // is another program either way, as no privilege would get the port.
    if (udpSocket->error() == QAbstractSocket::AddressInUseError
        || udpSocket->error() == QAbstractSocket::SocketAccessError)
        advice = BindAdvice::CloseOtherProgram;
    return false;
}
