// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DEVICERECORD_H
#define DEVICERECORD_H

#include "datagramcodec.h"

#include <QByteArray>
#include <QString>

// Everything the program knows of one accepted scan reply, in the texts the
// device list shows, built once when the reply is accepted.
struct DeviceRecord
{
    QString type;
    QByteArray nameBytes; // the name item exactly as received
    QString name; // as shown: UTF-8 up to the first zero byte
    QString mac; // "00:1A:2B:3C:4D:5E"
    QString ip, mask, gateway;
    QString version, points; // bounded by boundedText: the items have no length limit
    int interfaceIndex = 0; // the adapter that heard the reply; 0 while unknown
    QString senderAddress; // the reply's source address; empty while unknown
    // Equal for two replies with the same type and every byte from the MAC on:
    // the same device answering again. 0 for a record not made from a reply.
    quint64 replyDigest = 0;
};

DeviceRecord deviceRecordFromReply(const Datagram::ScanReply &reply);

#endif // DEVICERECORD_H
