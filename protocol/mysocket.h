// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef MYSOCKET_H
#define MYSOCKET_H

#include "devicerecord.h"
#include "sendpath.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVector>

#include <optional>

class QHostAddress;
class QNetworkDatagram;
class QTimer;
class QUdpSocket;

// One network adapter a scan went out on.
struct ScanAdapter
{
    QString name;
    int interfaceIndex = 0;
    QVector<InterfaceAddress> addresses;
    bool sent = false;
    // The system's reason when the copy for this adapter could not be sent.
    QString error;
};

// Where one scan went: empty when no adapter was up to carry it.
struct ScanReport
{
    QVector<ScanAdapter> adapters;

    bool noAdapter() const { return adapters.isEmpty(); }
    bool anySent() const;
};

// The program's one UDP endpoint on port 102: sends the requests, announces
// each accepted scan reply as a device record, and repeats the LED-flash
// request while a device dialog is open.
class MySocket : public QObject
{
    Q_OBJECT

public:
    explicit MySocket(QObject *parent = nullptr);
    ~MySocket() override;

    void initUdpSocket();
    // Sends one scan, with one sequence number, on every IPv4 adapter that is up,
    // running and can broadcast; the adapters are read anew each time.
    ScanReport udpSendCmdScan();
    // Requests to the device set by setDeviceIp() and setDeviceInterfaceIndex();
    // false with lastSendError() when the system refused the send.
    bool udpSendCmdLedsFlash(MacAddress mac);
    bool udpSendCmdLedsStop(MacAddress mac);
    bool udpSendCmdModify(const Datagram::ModifyFields &fields);
    void setDeviceIp(Ipv4Address ip);
    // The interface that heard the device; 0 (unknown) leaves the way to the routing table.
    void setDeviceInterfaceIndex(int index);
    // The device's IP and the interface that heard it, for the requests that follow.
    void setDevice(const DeviceRecord &device);
    QString lastSendError() const { return sendError; }
    void waitForUdpWritten();
    // Repeats the last flash request every 500 ms until stopLedsFlashTimer(). The
    // first flash request of a run that cannot be sent emits sendFailed().
    void startLedsFlashTimer();
    void stopLedsFlashTimer();

    // Whether port 102 could be bound, and why not when it could not.
    bool isBound() const { return bound; }
    QString bindErrorString() const { return bindError; }

    // What the endpoint asks the system to buffer for a burst of replies, and what
    // the system granted, both as the system counts them (a 110-byte reply takes
    // about 832 bytes): enough for 20,000 replies queued at once. 0 while unbound.
    static constexpr int WantedReceiveBufferBytes = 16 * 1024 * 1024;
    int receiveBufferBytes() const { return receiveBuffer; }
    bool isReceiveBufferCapped() const { return bound && receiveBuffer < WantedReceiveBufferBytes; }

signals:
    void deviceReplied(const DeviceRecord &device);
    void sendFailed(QString reason);

private slots:
    void processPendingDatagrams();
    void udpSendCmdLedsFlashSlot();

private:
    // Adopts the socket passed by the launcher, or binds port 102 without sharing it.
    bool bindUdpSocket();
    bool adoptSocket(int descriptor);
    void enlargeReceiveBuffer();
    void acceptDatagram(const QByteArray &datagram, int interfaceIndex, const QHostAddress &sender);
#ifdef Q_OS_LINUX
    // Reads one waiting datagram, with the interface that heard it, straight
    // from the socket; false when none waits.
    bool readNextDatagram();
#endif
    bool sendToDevice(const QByteArray &datagram);
    // Sends; on failure error holds the system's reason.
    bool writeRequest(const QNetworkDatagram &request, QString &error);
    quint32 takeSequenceNo()
    {
        return sequenceNo++;
    }

    QUdpSocket *udpSocket = nullptr;
    quint16 devicePort = 0;
    Ipv4Address deviceIp;
    int deviceInterfaceIndex = 0;
    QString sendError;
    // Whether this flash run has told its failure already: once, not every 500 ms.
    bool flashFailureTold = false;
    QTimer *ledsTimer = nullptr;
    quint32 sequenceNo = 0;
    std::optional<MacAddress> flashMac;
    bool bound = false;
    QString bindError;
    int receiveBuffer = 0;
#ifdef Q_OS_LINUX
    // Large enough for any IPv4 datagram.
    QByteArray datagramBuffer;
#endif
};

#endif // MYSOCKET_H
