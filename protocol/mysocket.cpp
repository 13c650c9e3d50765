// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "mysocket.h"

#include "datagramcodec.h"
#include "devicesettingssource.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QTimer>
#include <QUdpSocket>
#include <QVariant>

#ifdef Q_OS_LINUX
#include <sys/socket.h>
#endif

namespace {
constexpr int LedsFlashIntervalMs = 500;
constexpr int WriteWaitMs = 5000;
// The largest UDP payload IPv4 can carry.
constexpr int MaxDatagramSize = 65507;
// How long one readiness pass may read before the window gets the event loop
// back; the socket signals readyRead again on the next turn while datagrams wait.
constexpr int ReceivePassBudgetMs = 8;
} // namespace

MySocket::MySocket(QObject *parent)
    : QObject(parent)
{ }

MySocket::~MySocket() = default;

void MySocket::initUdpSocket()
{
    sequenceNo = 0;
    udpSocket = new QUdpSocket(this);
    udpSocket->abort();
    devicePort = Datagram::DevicePort;
    bound = udpSocket->bind(QHostAddress::AnyIPv4, devicePort,
        QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint);
    bindError = bound ? QString() : udpSocket->errorString();
    if (bound)
        enlargeReceiveBuffer();
    datagramBuffer.resize(MaxDatagramSize);
    connect(udpSocket, &QUdpSocket::readyRead, this, &MySocket::processPendingDatagrams);
}

void MySocket::udpSendCmdScan()
{
    udpSocket->writeDatagram(
        Datagram::scanRequest(takeSequenceNo()), QHostAddress::Broadcast, devicePort);
}

void MySocket::udpSendCmdLedsFlash(QString mac)
{
    flashMac = mac;
    sendToDevice(Datagram::ledsRequest(
        takeSequenceNo(), Datagram::macTextToBytes(mac), Datagram::LedCommand::Flash));
}

void MySocket::udpSendCmdLedsStop(QString mac)
{
    sendToDevice(Datagram::ledsRequest(
        takeSequenceNo(), Datagram::macTextToBytes(mac), Datagram::LedCommand::Stop));
}

void MySocket::udpSendCmdModify(const DeviceSettingsSource *dialog)
{
    Datagram::ModifyFields fields;
    fields.targetMac = Datagram::macTextToBytes(dialog->tableMacText());
    fields.mac = Datagram::macTextToBytes(dialog->macText());
    fields.name = Datagram::nameFieldBytes(dialog->deviceNameText());
    fields.network
        = Datagram::networkBytes(dialog->ipText(), dialog->netMaskText(), dialog->gateWayText());
    sendToDevice(Datagram::modifyRequest(takeSequenceNo(), fields));
}

void MySocket::setDeviceIp(QString ip)
{
    deviceIp = ip;
}

void MySocket::waitForUdpWritten()
{
    udpSocket->waitForBytesWritten(WriteWaitMs);
}

void MySocket::startLedsFlashTimer()
{
    // A dialog left without its close handling must not leave a second timer.
    stopLedsFlashTimer();
    ledsTimer = new QTimer(this);
    connect(ledsTimer, &QTimer::timeout, this, &MySocket::udpSendCmdLedsFlashSlot);
    ledsTimer->start(LedsFlashIntervalMs);
}

void MySocket::stopLedsFlashTimer()
{
    delete ledsTimer;
    ledsTimer = nullptr;
}

void MySocket::receiveOneMoreUpd()
{
    emit updPackReceived();
}

void MySocket::processPendingDatagrams()
{
    // The pending-size query costs a system call per datagram and can fail; one
    // buffer of the largest size makes it unnecessary.
    QElapsedTimer pass;
    pass.start();
    while (udpSocket->hasPendingDatagrams() && !pass.hasExpired(ReceivePassBudgetMs)) {
        const qint64 read = udpSocket->readDatagram(datagramBuffer.data(), datagramBuffer.size());
        if (read < 0)
            break;
        acceptDatagram(QByteArray::fromRawData(datagramBuffer.constData(), int(read)));
    }
}

void MySocket::acceptDatagram(const QByteArray &datagram)
{
    const std::optional<Datagram::ScanReply> reply = Datagram::parseScanReply(datagram);
    if (!reply)
        return;
    replyTypeName = Datagram::deviceTypeName(reply->deviceType);
    replyMac = reply->mac;
    replyName = reply->name;
    replyVersion = reply->version;
    replyNetwork = reply->network;
    replyPoints = reply->points;
    emit updPackReceived();
}

void MySocket::udpSendCmdLedsFlashSlot()
{
    // The flash goes on for the device that was opened, whatever row the table
    // has made current since.
    if (!flashMac.isEmpty())
        udpSendCmdLedsFlash(flashMac);
}

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

void MySocket::sendToDevice(const QByteArray &datagram)
{
    udpSocket->writeDatagram(datagram, QHostAddress(deviceIp), devicePort);
}
