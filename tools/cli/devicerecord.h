// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DEVICERECORD_H
#define DEVICERECORD_H

#include <QByteArray>
#include <QString>
#include <QVector>

// One answering device, in the texts of the window's table columns.
struct DeviceRecord
{
    QString type;
    QString name;
    QString ip;
    QString mac;
    QString mask;
    QString gateway;
    QString version;
    QString points;
    bool duplicateMac = false;
    bool duplicateIp = false;
};

// The texts of an accepted reply, as the window turns them into a row.
DeviceRecord deviceRecordFromReply(const QByteArray &typeName, const QByteArray &mac,
    const QByteArray &name, const QByteArray &version, const QByteArray &network,
    const QByteArray &points);

// Flags every record whose MAC or IP address another record also carries.
void markDuplicates(QVector<DeviceRecord> &devices);

// The records carrying the MAC (either case), in the order they answered.
QVector<DeviceRecord> devicesWithMac(const QVector<DeviceRecord> &devices, const QString &mac);

// An address text the device dialog accepts, in the form the table shows it:
// "192.168.001.010" gives "192.168.1.10".
QString canonicalAddressText(const QString &address);

#endif // DEVICERECORD_H
