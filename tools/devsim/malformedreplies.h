// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef MALFORMEDREPLIES_H
#define MALFORMEDREPLIES_H

#include <QByteArray>
#include <QString>
#include <QVector>

struct MalformedReply
{
    QString fault;
    QByteArray datagram;
};

// Scan replies that each break one acceptance rule and must be dropped by the
// program. Apart from that fault each one is a sound reply of the device
// "MALFORMED", MAC 02:BA:D0:00:00:00, IP 192.0.2.126, so that any that slips
// through shows up as a row.
QVector<MalformedReply> malformedReplies();

#endif // MALFORMEDREPLIES_H
