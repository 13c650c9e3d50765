// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "testpeer.h"

#include "datagramcodec.h"
#include "pktinfomessage.h"

#include <QSocketNotifier>
#include <QtEndian>

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

const QString TestPeer::DeviceIp = QStringLiteral("127.0.0.2");

namespace {
constexpr int UdpHeaderSize = 8;

sockaddr_in ipv4(const char *address, quint16 port)
{
    sockaddr_in result {};
    result.sin_family = AF_INET;
    result.sin_port = htons(port);
    ::inet_pton(AF_INET, address, &result.sin_addr);
    return result;
}
} // namespace

TestPeer::TestPeer(QObject *parent)
    : QObject(parent)
{ }

TestPeer::~TestPeer()
{
    delete notifier;
    if (rawSocket >= 0)
        ::close(rawSocket);
}

bool TestPeer::bind(QString *error)
{
    rawSocket = ::socket(AF_INET, SOCK_RAW | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_UDP);
    if (rawSocket < 0) {
        *error = QStringLiteral("raw UDP socket: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    notifier = new QSocketNotifier(rawSocket, QSocketNotifier::Read);
    connect(notifier, &QSocketNotifier::activated, this, &TestPeer::drain);
    return true;
}

void TestPeer::sendToProgram(const QByteArray &datagram)
{
    QByteArray packet(UdpHeaderSize, '\0');
    qToBigEndian<quint16>(Datagram::DevicePort, packet.data());
    qToBigEndian<quint16>(Datagram::DevicePort, packet.data() + 2);
    qToBigEndian<quint16>(quint16(UdpHeaderSize + datagram.size()), packet.data() + 4);
    packet += datagram; // a zero checksum: none, which IPv4 allows
    sockaddr_in program = ipv4("127.0.0.1", 0);
    // Sent from the device's address, as a device answers; binding the raw socket
    // to it instead would hide the broadcasts from it.
    PacketInfoMessage message(&program, sizeof program, packet.data(), size_t(packet.size()));
    message.setSource(ipv4(qPrintable(DeviceIp), 0).sin_addr);
    ::sendmsg(rawSocket, &message.header, 0);
}

void TestPeer::drain()
{
    QByteArray packet(65536, Qt::Uninitialized);
    qint64 size;
    while ((size = ::recv(rawSocket, packet.data(), size_t(packet.size()), 0)) > 0) {
        const int headerSize = (quint8(packet.at(0)) & 0x0f) * 4;
        if (size < headerSize + UdpHeaderSize
            || qFromBigEndian<quint16>(packet.constData() + headerSize + 2) != Datagram::DevicePort)
            continue;
        const quint32 destination = qFromBigEndian<quint32>(packet.constData() + 16);
        const QByteArray payload
            = packet.mid(headerSize + UdpHeaderSize, int(size) - headerSize - UdpHeaderSize);
        if (destination == INADDR_BROADCAST)
            broadcasts.append(payload);
        else if (htonl(destination) == ipv4(qPrintable(DeviceIp), 0).sin_addr.s_addr)
            unicasts.append(payload);
    }
}

quint32 sequenceNoOf(const QByteArray &datagram)
{
    return qFromBigEndian<quint32>(datagram.constData() + 14);
}
