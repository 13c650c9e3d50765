// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "passedsocket.h"

#include "datagramcodec.h"

#include <QByteArray>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
// The first descriptor of the socket-activation convention.
constexpr int ListenFdsStart = 3;

int takeNumber(const char *variable)
{
    const QByteArray text = qgetenv(variable).left(20);
    qunsetenv(variable);
    bool ok = false;
    const int number = text.toInt(&ok);
    return ok ? number : 0;
}
} // namespace

PassedSocket takePassedSocket()
{
    const bool forThisProcess = takeNumber("LISTEN_PID") == int(::getpid());
    const int count = takeNumber("LISTEN_FDS");
    const int launcherErrno = takeNumber("NESDRIX_BIND_ERRNO");
    qunsetenv("LISTEN_FDNAMES");
    PassedSocket passed;
    if (forThisProcess) {
        passed.descriptor = count == 1 ? ListenFdsStart : -1;
        passed.launcherBindErrno = launcherErrno;
    }
    return passed;
}

QString passedSocketProblem(int descriptor)
{
    int type = 0;
    socklen_t typeSize = sizeof type;
    if (::getsockopt(descriptor, SOL_SOCKET, SO_TYPE, &type, &typeSize) != 0 || type != SOCK_DGRAM)
        return QStringLiteral("descriptor %1 is not a UDP socket").arg(descriptor);
    sockaddr_in address {};
    socklen_t addressSize = sizeof address;
    if (::getsockname(descriptor, reinterpret_cast<sockaddr *>(&address), &addressSize) != 0
        || address.sin_family != AF_INET || ntohs(address.sin_port) != Datagram::DevicePort)
        return QStringLiteral("descriptor %1 is not bound to IPv4 port %2")
            .arg(descriptor)
            .arg(Datagram::DevicePort);
    return {};
}
