#include "mysocket.h"

#include "datagramcodec.h"
#include "devicesettingssource.h"

#include <QHostAddress>
#include <QTimer>
#include <QUdpSocket>

namespace {
constexpr int LedsFlashIntervalMs = 500;
constexpr int WriteWaitMs = 5000;
} // namespace

MySocket::MySocket(QObject *parent)
    : QObject(parent)
{
}

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
    connect(udpSocket, &QUdpSocket::readyRead, this, &MySocket::processPendingDatagrams);
}

void MySocket::udpSendCmdScan()
{
    udpSocket->writeDatagram(Datagram::scanRequest(takeSequenceNo()), QHostAddress::Broadcast,
                             devicePort);
}

void MySocket::udpSendCmdLedsFlash(QString mac)
{
    flashMac = mac;
    sendToDevice(Datagram::ledsRequest(takeSequenceNo(), Datagram::macTextToBytes(mac),
                                       Datagram::LedCommand::Flash));
}

void MySocket::udpSendCmdLedsStop(QString mac)
{
    sendToDevice(Datagram::ledsRequest(takeSequenceNo(), Datagram::macTextToBytes(mac),
                                       Datagram::LedCommand::Stop));
}

void MySocket::udpSendCmdModify(const DeviceSettingsSource *dialog)
{
    Datagram::ModifyFields fields;
    fields.targetMac = Datagram::macTextToBytes(dialog->tableMacText());
    fields.mac = Datagram::macTextToBytes(dialog->macText());
    fields.name = Datagram::nameFieldBytes(dialog->deviceNameText());
    fields.network =
        Datagram::networkBytes(dialog->ipText(), dialog->netMaskText(), dialog->gateWayText());
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
    while (udpSocket->hasPendingDatagrams()) {
        const qint64 size = udpSocket->pendingDatagramSize();
        QByteArray datagram(int(qMax<qint64>(size, 0)), Qt::Uninitialized);
        const qint64 read = udpSocket->readDatagram(datagram.data(), datagram.size());
        if (read < 0)
            break;
        datagram.truncate(int(read));

        const std::optional<Datagram::ScanReply> reply = Datagram::parseScanReply(datagram);
        if (!reply)
            continue;
        replyTypeName = Datagram::deviceTypeName(reply->deviceType);
        replyMac = reply->mac;
        replyName = reply->name;
        replyVersion = reply->version;
        replyNetwork = reply->network;
        replyPoints = reply->points;
        emit updPackReceived();
    }
}

void MySocket::udpSendCmdLedsFlashSlot()
{
    // The flash goes on for the device that was opened, whatever row the table
    // has made current since.
    if (!flashMac.isEmpty())
        udpSendCmdLedsFlash(flashMac);
}

void MySocket::sendToDevice(const QByteArray &datagram)
{
    udpSocket->writeDatagram(datagram, QHostAddress(deviceIp), devicePort);
}
