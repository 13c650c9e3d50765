// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef TESTPEER_H
#define TESTPEER_H

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class QSocketNotifier;

// A device on loopback, inside the test's private network namespace. The
// program's endpoint binds 0.0.0.0:102 and shares it with no one, so the peer
// holds no port: a raw UDP socket sees the requests to 255.255.255.255:102 and
// to the device's address 127.0.0.2:102, and sends replies from 127.0.0.2:102.
class TestPeer : public QObject
{
    Q_OBJECT

public:
    static const QString DeviceIp;

    explicit TestPeer(QObject *parent = nullptr);
    ~TestPeer() override;

    // Opens the raw socket (the namespace's root may); on failure *error says why.
    bool bind(QString *error);
    // Sends a datagram to the program's endpoint.
    void sendToProgram(const QByteArray &datagram);

    QList<QByteArray> broadcasts;
    QList<QByteArray> unicasts;

private:
    void drain();

    int rawSocket = -1;
    QSocketNotifier *notifier = nullptr;
};

// The sequence number in a request's header.
quint32 sequenceNoOf(const QByteArray &datagram);

#endif // TESTPEER_H
