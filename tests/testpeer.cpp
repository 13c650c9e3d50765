// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "testpeer.h"

#include "datagramcodec.h"

#include <QHostAddress>
#include <QUdpSocket>
#include <QtEndian>

const QString TestPeer::DeviceIp = QStringLiteral("127.0.0.2");

TestPeer::TestPeer(QObject *parent)
    : QObject(parent)
    , broadcastSocket(new QUdpSocket(this))
    , unicastSocket(new QUdpSocket(this))
{
    connect(broadcastSocket, &QUdpSocket::readyRead, this,
        [this] { drain(broadcastSocket, &broadcasts); });
    connect(
        unicastSocket, &QUdpSocket::readyRead, this, [this] { drain(unicastSocket, &unicasts); });
}

bool TestPeer::bind(QString *error)
{
    const auto mode = QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint;
    if (!broadcastSocket->bind(QHostAddress::Broadcast, Datagram::DevicePort, mode)) {
        *error = broadcastSocket->errorString();
        return false;
    }
    if (!unicastSocket->bind(QHostAddress(DeviceIp), Datagram::DevicePort, mode)) {
        *error = unicastSocket->errorString();
        return false;
    }
    return true;
}

void TestPeer::sendToProgram(const QByteArray &datagram)
{
    unicastSocket->writeDatagram(datagram, QHostAddress::LocalHost, Datagram::DevicePort);
}

void TestPeer::drain(QUdpSocket *socket, QList<QByteArray> *into)
{
    while (socket->hasPendingDatagrams()) {
        QByteArray datagram(int(socket->pendingDatagramSize()), Qt::Uninitialized);
        socket->readDatagram(datagram.data(), datagram.size());
        into->append(datagram);
    }
}

quint32 sequenceNoOf(const QByteArray &datagram)
{
    return qFromBigEndian<quint32>(datagram.constData() + 14);
}
