// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DEVICERECORD_H
#define DEVICERECORD_H

#include "datagramcodec.h"
#include "ipv4address.h"
#include "macaddress.h"

#include <QByteArray>
#include <QString>

// Everything the program knows of one accepted scan reply, built once when the
// reply is accepted. Addresses are values; their texts are made where shown.
struct DeviceRecord
{
    quint8 type = 0; // the device type code of the reply's header
    QByteArray nameBytes; // the name item exactly as received
    MacAddress mac;
    Ipv4Address ip;
    Ipv4Address mask;
    Ipv4Address gateway;
    QString version, points; // bounded by boundedText: the items have no length limit
    int interfaceIndex = 0; // the adapter that heard the reply; 0 while unknown
    Ipv4Address senderAddress; // the reply's source address; 0.0.0.0 while unknown
    // Equal for two replies with the same type and every byte from the MAC on:
    // the same device answering again. 0 for a record not made from a reply.
    quint64 replyDigest = 0;

    // "PLC", "HMI", "SERVO", "VFD", or empty for another type code.
    QString typeText() const { return Datagram::deviceTypeName(type); }
    // As shown: UTF-8 up to the first zero byte.
    QString name() const;
    DeviceSettings settings() const { return { ip, mask, gateway }; }
};

DeviceRecord deviceRecordFromReply(const Datagram::ScanReply &reply);

#endif // DEVICERECORD_H
