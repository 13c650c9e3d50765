// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicerecord.h"

#include "datagramcodec.h"
#include "devicetext.h"

#include <QHash>

namespace {

QString dotted(const QByteArray &bytes)
{
    QString text;
    dottedDecimalText(text, bytes);
    return text;
}

} // namespace

DeviceRecord deviceRecordFromReply(const QByteArray &typeName, const QByteArray &mac,
    const QByteArray &name, const QByteArray &version, const QByteArray &network,
    const QByteArray &points)
{
    DeviceRecord record;
    record.type = deviceNameFromBytes(typeName);
    record.name = deviceNameFromBytes(name);
    bytesToMacText(record.mac, mac);
    record.ip = dotted(network.mid(0, 4));
    record.mask = dotted(network.mid(4, 4));
    record.gateway = dotted(network.mid(8, 4));
    record.version = dotted(version);
    record.points = dotted(points);
    return record;
}

void markDuplicates(QVector<DeviceRecord> &devices)
{
    QHash<QString, int> macCount;
    QHash<QString, int> ipCount;
    for (const DeviceRecord &device : qAsConst(devices)) {
        ++macCount[device.mac];
        ++ipCount[device.ip];
    }
    for (DeviceRecord &device : devices) {
        device.duplicateMac = macCount.value(device.mac) > 1;
        device.duplicateIp = ipCount.value(device.ip) > 1;
    }
}

QVector<DeviceRecord> devicesWithMac(const QVector<DeviceRecord> &devices, const QString &mac)
{
    QVector<DeviceRecord> found;
    for (const DeviceRecord &device : devices) {
        if (device.mac.compare(mac, Qt::CaseInsensitive) == 0)
            found.append(device);
    }
    return found;
}

QString canonicalAddressText(const QString &address)
{
    return dotted(Datagram::ipStrToBytes(address + QLatin1Char('.')));
}
