// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef MYSOCKET_H
#define MYSOCKET_H

#include "devicerecord.h"
#include "devicetext.h"
#include "sendpath.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QVector>

class QHostAddress;
class QNetworkDatagram;
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

// Where one scan went: nowhere when the endpoint is not open (notOpen) or no
// adapter was up to carry it (noAdapter).
struct ScanReport
{
    QVector<ScanAdapter> adapters;
    bool notOpen = false;

    bool noAdapter() const { return !notOpen && adapters.isEmpty(); }
    bool anySent() const;
};

// The program's one UDP endpoint on port 102, made by main() (or by the
// command-line tool, or a test) and handed to whoever sends.
//
// It keeps no conversation: every request names the device it is for (a
// DeviceTarget), and what lasts longer than one request (an LED flashing)
// lives in its own object (LedSession). It reads datagrams, hands them to the
// codec, and announces each accepted reply as a DeviceRecord; it asks the codec
// for a request's bytes and writes them.
//
// Every send returns whether it left; on failure lastSendError() words why.
// Until initUdpSocket() has the port, every send is refused ("not open"):
// nothing ever leaves from another port, where no reply could come back.
//
// To add a request: build its bytes in datagramcodec, then send them with
// sendToDevice() (one device, by the reach rule of sendpath.h) or the scan's
// per-adapter broadcast; both refuse on a closed endpoint. The address probe
// of a check before a write leaves from the same port.
class MySocket : public QObject
{
    Q_OBJECT

public:
    explicit MySocket(QObject *parent = nullptr);
    ~MySocket() override;

    // Adopts the socket passed by the launcher, or binds port 102; false when
    // neither worked, with bindErrorString().
    bool initUdpSocket();
    // Binds port 102 again after initUdpSocket() could not (another program
    // has let it go since, or the privilege was granted); true once it is open.
    bool retryBind();
    // Whether port 102 could be bound, and why not when it could not.
    bool isBound() const { return bound; }
    QString bindErrorString() const { return bindError; }
    // What gets the port, for the way this process was started.
    BindAdvice bindAdvice() const { return advice; }
    // The send error of a closed endpoint, translated.
    static QString notOpenText();

    // Sends one scan, with one sequence number, on every IPv4 adapter that is up,
    // running and can broadcast; the adapters are read anew each time.
    ScanReport udpSendCmdScan();
    // Requests to one device; false with lastSendError() when not sent.
    bool udpSendCmdLedsFlash(const DeviceTarget &target);
    bool udpSendCmdLedsStop(const DeviceTarget &target);
    // Writes the settings; the device keeps newMac and the 16 name bytes.
    bool udpSendCmdModify(const DeviceTarget &target, MacAddress newMac,
        const QByteArray &nameField, const DeviceSettings &settings);
    QString lastSendError() const { return sendError; }
    // One empty datagram to the IP's discard port, out of the interface with the
    // index: the kernel then resolves the address, and the neighbour table tells
    // who holds it. False with the reason in *error.
    bool udpSendAddressProbe(const QHostAddress &ip, int interfaceIndex, QString *error);

    // What the endpoint asks the system to buffer for a burst of replies, and what
    // the system granted, both as the system counts them (a 110-byte reply takes
    // about 832 bytes): enough for 20,000 replies queued at once. 0 while unbound.
    static constexpr int WantedReceiveBufferBytes = 16 * 1024 * 1024;
    int receiveBufferBytes() const { return receiveBuffer; }
    bool isReceiveBufferCapped() const { return bound && receiveBuffer < WantedReceiveBufferBytes; }

signals:
    void deviceReplied(const DeviceRecord &device);

private slots:
    void processPendingDatagrams();

private:
    bool bindUdpSocket();
    // After the bind: the receive buffer, each datagram's interface, reading.
    void startReading();
#ifndef Q_OS_WIN
    bool adoptSocket(int descriptor);
#endif
    void enlargeReceiveBuffer();
    void acceptDatagram(const QByteArray &datagram, int interfaceIndex, const QHostAddress &sender);
#ifdef Q_OS_LINUX
    // Reads one waiting datagram, with the interface that heard it, straight
    // from the socket; false when none waits.
    bool readNextDatagram();
#endif
    bool sendToDevice(const DeviceTarget &target, const QByteArray &datagram);
    // Sends; on failure error holds the reason.
    bool writeRequest(const QNetworkDatagram &request, QString &error);
    quint32 takeSequenceNo()
    {
        return sequenceNo++;
    }

    QUdpSocket *udpSocket = nullptr;
    QString sendError;
    quint32 sequenceNo = 0;
    bool bound = false;
    QString bindError;
    BindAdvice advice = BindAdvice::General;
    int receiveBuffer = 0;
#ifdef Q_OS_LINUX
    // Large enough for any IPv4 datagram.
    QByteArray datagramBuffer;
#endif
};

#endif // MYSOCKET_H
