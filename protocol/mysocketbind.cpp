// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "mysocket.h"

#include "datagramcodec.h"
#include "passedsocket.h"

#include <QHostAddress>
#include <QUdpSocket>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

bool MySocket::bindUdpSocket()
{
    const PassedSocket passed = takePassedSocket();
    if (passed.descriptor >= 0 && adoptSocket(passed.descriptor))
        return true;
    // Not shared: a second instance must fail and say so, rather than take
    // the replies that the first one's scan draws.
    if (udpSocket->bind(
            QHostAddress::AnyIPv4, Datagram::DevicePort, QAbstractSocket::DontShareAddress))
        return true;
    bindError = passed.launcherBindErrno ? qt_error_string(passed.launcherBindErrno)
                                         : udpSocket->errorString();
    return false;
}

bool MySocket::adoptSocket(int descriptor)
{
    QString problem = passedSocketProblem(descriptor);
    const int on = 1;
    if (problem.isEmpty()
        && (::fcntl(descriptor, F_SETFD, FD_CLOEXEC) != 0
            || ::setsockopt(descriptor, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0))
        problem = qt_error_string();
    if (problem.isEmpty()
        && udpSocket->setSocketDescriptor(descriptor, QAbstractSocket::BoundState))
        return true;
    if (problem.isEmpty())
        problem = udpSocket->errorString();
    qWarning("The socket passed to Nesdrix is not used (%s); it binds UDP port %d itself.",
        qPrintable(problem), Datagram::DevicePort);
    ::close(descriptor);
    return false;
}
