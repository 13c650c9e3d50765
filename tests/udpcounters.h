// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef UDPCOUNTERS_H
#define UDPCOUNTERS_H

#include <QByteArray>
#include <QFile>
#include <QList>

// Datagrams the kernel of the calling process's network namespace dropped for want
// of receive buffer since it started (RcvbufErrors of /proc/net/snmp); -1 if unknown.
inline qint64 udpReceiveBufferErrors()
{
    QFile snmp(QStringLiteral("/proc/net/snmp"));
    if (!snmp.open(QIODevice::ReadOnly))
        return -1;
    // A line of names, then a line of values, for each protocol.
    const QList<QByteArray> lines = snmp.readAll().split('\n');
    for (int i = 0; i + 1 < lines.size(); ++i) {
        if (!lines.at(i).startsWith("Udp:"))
            continue;
        const int column = lines.at(i).simplified().split(' ').indexOf("RcvbufErrors");
        const QList<QByteArray> values = lines.at(i + 1).simplified().split(' ');
        return column > 0 && column < values.size() ? values.at(column).toLongLong() : -1;
    }
    return -1;
}

#endif // UDPCOUNTERS_H
