// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "mysocket.h"

#include "datagramcodec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QUdpSocket>
#include <QVariant>

#include <algorithm>
#include <cerrno>

#ifdef Q_OS_LINUX
#include "pktinfomessage.h"
#endif

namespace {
// The largest UDP payload IPv4 can carry.
constexpr int MaxDatagramSize = 65507;
// How long one readiness pass may read before the window gets the event loop
// back; the socket signals readyRead again on the next turn while datagrams wait.
constexpr int ReceivePassBudgetMs = 8;

// Loopback is left out: a device is never on it.
QVector<ScanAdapter> scannableAdapters()
{
    const QNetworkInterface::InterfaceFlags needed
        = QNetworkInterface::IsUp | QNetworkInterface::IsRunning | QNetworkInterface::CanBroadcast;
    QVector<ScanAdapter> adapters;
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &candidate : interfaces) {
        if ((candidate.flags() & needed) != needed
            || candidate.flags().testFlag(QNetworkInterface::IsLoopBack))
            continue;
        ScanAdapter adapter;
        adapter.name = candidate.humanReadableName();
        adapter.interfaceIndex = candidate.index();
        adapter.addresses = ipv4AddressesOf(candidate);
        if (!adapter.addresses.isEmpty())
            adapters.append(adapter);
    }
    return adapters;
}

} // namespace

bool ScanReport::anySent() const
{
    return std::any_of(adapters.cbegin(), adapters.cend(),
        [](const ScanAdapter &adapter) { return adapter.sent; });
}

MySocket::MySocket(QObject *parent)
    : QObject(parent)
{ }

MySocket::~MySocket() = default;

bool MySocket::initUdpSocket()
{
    // Once: a second socket would leave the first bound and unread.
    if (udpSocket)
        return bound;
    udpSocket = new QUdpSocket(this);
    bound = bindUdpSocket();
    if (bound)
        startReading();
    return bound;
}

bool MySocket::retryBind()
{
    if (!udpSocket)
        return initUdpSocket();
    if (bound)
        return true;
    // The socket a launcher passes is taken at the start only: this binds.
    bound = bindUdpSocket();
    if (bound) {
        bindError.clear();
        startReading();
    }
    return bound;
}

void MySocket::startReading()
{
    enlargeReceiveBuffer();
#ifdef Q_OS_LINUX
    // Qt asks for each datagram's interface on its own sockets; a socket passed
    // by the launcher is asked here too.
    const int wanted = 1;
    ::setsockopt(
        int(udpSocket->socketDescriptor()), IPPROTO_IP, IP_PKTINFO, &wanted, sizeof wanted);
    datagramBuffer.resize(MaxDatagramSize);
#endif
    connect(udpSocket, &QUdpSocket::readyRead, this, &MySocket::processPendingDatagrams);
}

QString MySocket::notOpenText()
{
    return QCoreApplication::translate("MySocket", "UDP port 102 is not open, so nothing was sent");
}

ScanReport MySocket::udpSendCmdScan()
{
    ScanReport report;
    if (!bound) {
        report.notOpen = true;
        return report;
    }
    // The limited broadcast follows the routing table to one interface only (the
    // default route's), or nowhere; naming the interface reaches every cable.
    QNetworkDatagram scan(
        Datagram::scanRequest(takeSequenceNo()), QHostAddress::Broadcast, Datagram::DevicePort);
    report.adapters = scannableAdapters();
    for (ScanAdapter &adapter : report.adapters) {
        scan.setInterfaceIndex(uint(adapter.interfaceIndex));
        adapter.sent = writeRequest(scan, adapter.error);
    }
    return report;
}

bool MySocket::udpSendCmdLedsFlash(const DeviceTarget &target)
{
    return sendToDevice(
        target, Datagram::ledsRequest(takeSequenceNo(), target.mac, Datagram::LedCommand::Flash));
}

bool MySocket::udpSendCmdLedsStop(const DeviceTarget &target)
{
    return sendToDevice(
        target, Datagram::ledsRequest(takeSequenceNo(), target.mac, Datagram::LedCommand::Stop));
}

bool MySocket::udpSendCmdModify(const DeviceTarget &target, MacAddress newMac,
    const QByteArray &nameField, const DeviceSettings &settings)
{
    const Datagram::ModifyFields fields { target.mac, newMac, nameField, settings };
    return sendToDevice(target, Datagram::modifyRequest(takeSequenceNo(), fields));
}

void MySocket::processPendingDatagrams()
{
    // Asking for the largest size spares the pending-size query, a system call
    // per datagram that can fail.
    QElapsedTimer pass;
    pass.start();
    while (udpSocket->hasPendingDatagrams() && !pass.hasExpired(ReceivePassBudgetMs)) {
        const QNetworkDatagram datagram = udpSocket->receiveDatagram(MaxDatagramSize);
        if (!datagram.isValid())
            break;
        acceptDatagram(datagram.data(), int(datagram.interfaceIndex()), datagram.senderAddress());
#ifdef Q_OS_LINUX
        // Qt's read has armed the readiness signal again, for whatever this pass
        // leaves; the rest of a burst is read without Qt's allocations per datagram.
        while (!pass.hasExpired(ReceivePassBudgetMs) && readNextDatagram()) { }
        break;
#endif
    }
}

void MySocket::acceptDatagram(
    const QByteArray &datagram, int interfaceIndex, const QHostAddress &sender)
{
    const std::optional<Datagram::ScanReply> reply = Datagram::parseScanReply(datagram);
    if (!reply)
        return;
    DeviceRecord record = deviceRecordFromReply(*reply);
    // Requests to the device leave through the adapter that heard it.
    record.interfaceIndex = interfaceIndex;
    record.senderAddress = Ipv4Address(sender.toIPv4Address());
    emit deviceReplied(record);
}

#ifdef Q_OS_LINUX
bool MySocket::readNextDatagram()
{
    sockaddr_storage sender {};
    PacketInfoMessage message(
        &sender, sizeof sender, datagramBuffer.data(), size_t(datagramBuffer.size()));
    const ssize_t read
        = ::recvmsg(int(udpSocket->socketDescriptor()), &message.header, MSG_DONTWAIT);
    if (read < 0)
        return false;
    acceptDatagram(QByteArray::fromRawData(datagramBuffer.constData(), int(read)),
        message.interfaceIndex(), QHostAddress(reinterpret_cast<const sockaddr *>(&sender)));
    return true;
}
#endif

void MySocket::enlargeReceiveBuffer()
{
    // The default buffer holds a few hundred replies; a plant answers a scan all
    // at once, and whatever overflows is lost in the kernel without a trace.
    udpSocket->setSocketOption(
        QAbstractSocket::ReceiveBufferSizeSocketOption, WantedReceiveBufferBytes);
    receiveBuffer = udpSocket->socketOption(QAbstractSocket::ReceiveBufferSizeSocketOption).toInt();
#ifdef Q_OS_LINUX
    // The system caps the plain request at net.core.rmem_max; a privileged
    // process may pass the cap.
    if (receiveBuffer < WantedReceiveBufferBytes) {
        const int wanted = WantedReceiveBufferBytes;
        if (::setsockopt(int(udpSocket->socketDescriptor()), SOL_SOCKET, SO_RCVBUFFORCE, &wanted,
                sizeof wanted)
            == 0)
            receiveBuffer
                = udpSocket->socketOption(QAbstractSocket::ReceiveBufferSizeSocketOption).toInt();
    }
#endif
}

bool MySocket::sendToDevice(const DeviceTarget &target, const QByteArray &datagram)
{
    QNetworkDatagram request(datagram, QHostAddress(target.ip.toUInt32()), Datagram::DevicePort);
    const QNetworkInterface adapter = QNetworkInterface::interfaceFromIndex(target.interfaceIndex);
    if (sendPathFor(target, ipv4AddressesOf(adapter)) == SendPath::Broadcast) {
        request.setDestination(QHostAddress::Broadcast, Datagram::DevicePort);
        request.setInterfaceIndex(uint(target.interfaceIndex));
    }
    sendError.clear();
    return writeRequest(request, sendError);
}

bool MySocket::udpSendAddressProbe(const QHostAddress &ip, int interfaceIndex, QString *error)
{
    // Nothing listens on the discard port, and nothing reads an empty datagram.
    constexpr quint16 DiscardPort = 9;
    QNetworkDatagram probe(QByteArray(), ip, DiscardPort);
    probe.setInterfaceIndex(uint(interfaceIndex));
    return writeRequest(probe, *error);
}

bool MySocket::writeRequest(const QNetworkDatagram &request, QString &error)
{
    // Qt would bind a closed socket to a random port and send from there.
    if (!bound) {
        error = notOpenText();
        return false;
    }
    // Qt words most refused sends alike ("Unable to send a message"); the
    // system's reason ("Network is unreachable") tells the user what to look at.
    errno = 0;
    if (udpSocket->writeDatagram(request) >= 0)
        return true;
    const int reason = errno;
    error = reason != 0 ? qt_error_string(reason) : udpSocket->errorString();
    return false;
}
