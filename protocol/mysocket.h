// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef MYSOCKET_H
#define MYSOCKET_H

#include <QByteArray>
#include <QObject>
#include <QString>

class DeviceSettingsSource;
class QTimer;
class QUdpSocket;

// The program's one UDP endpoint on port 102: sends the requests, accepts scan
// replies and keeps the last one for the window, and repeats the LED-flash
// request while a device dialog is open.
class MySocket : public QObject
{
    Q_OBJECT

public:
    explicit MySocket(QObject *parent = nullptr);
    ~MySocket() override;

    // The last accepted scan reply; all six are replaced together.
    QByteArray replyTypeName;
    QByteArray replyMac;
    QByteArray replyName;
    QByteArray replyVersion;
    QByteArray replyNetwork;
    QByteArray replyPoints;

    void initUdpSocket();
    void udpSendCmdScan();
    void udpSendCmdLedsFlash(QString mac);
    void udpSendCmdLedsStop(QString mac);
    void udpSendCmdModify(const DeviceSettingsSource *dialog);
    void setDeviceIp(QString ip);
    void waitForUdpWritten();
    // Repeats the last flash request every 500 ms until stopLedsFlashTimer().
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
    void updPackReceived();

public slots:
    void receiveOneMoreUpd();

private slots:
    void processPendingDatagrams();
    void udpSendCmdLedsFlashSlot();

private:
    void enlargeReceiveBuffer();
    void acceptDatagram(const QByteArray &datagram);
    void sendToDevice(const QByteArray &datagram);
    quint32 takeSequenceNo() { return sequenceNo++; }

    QUdpSocket *udpSocket = nullptr;
    quint16 devicePort = 0;
    QString deviceIp;
    QTimer *ledsTimer = nullptr;
    quint32 sequenceNo = 0;
    QString flashMac;
    bool bound = false;
    QString bindError;
    int receiveBuffer = 0;
    // Every datagram is read into this one buffer, large enough for any IPv4 datagram.
    QByteArray datagramBuffer;
};

#endif // MYSOCKET_H
