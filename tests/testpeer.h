// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef TESTPEER_H
#define TESTPEER_H

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class QUdpSocket;

// A device on loopback, inside the test's private network namespace. The
// program's endpoint binds 0.0.0.0:102; the peer listens on 127.0.0.2:102 for
// requests sent to the device's address and on 255.255.255.255:102 for scans.
class TestPeer : public QObject
{
    Q_OBJECT

public:
    static const QString DeviceIp;

    explicit TestPeer(QObject *parent = nullptr);

    // Binds both listening sockets; on failure *error says why.
    bool bind(QString *error);
    // Sends a datagram to the program's endpoint.
    void sendToProgram(const QByteArray &datagram);

    QList<QByteArray> broadcasts;
    QList<QByteArray> unicasts;

private:
    void drain(QUdpSocket *socket, QList<QByteArray> *into);

    QUdpSocket *broadcastSocket;
    QUdpSocket *unicastSocket;
};

// The sequence number in a request's header.
quint32 sequenceNoOf(const QByteArray &datagram);

#endif // TESTPEER_H
