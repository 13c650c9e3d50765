// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicediff.h"

#include "safetext.h"

#include <QMap>

#include <algorithm>

namespace {

constexpr DeviceField AllFields[] = { DeviceField::Type, DeviceField::Name, DeviceField::Ip,
    DeviceField::Mask, DeviceField::Gateway, DeviceField::Version, DeviceField::Points };

// Each MAC's entries in list order.
QMap<QString, QVector<SnapshotDevice>> entriesByMac(const Snapshot &list)
{
    QMap<QString, QVector<SnapshotDevice>> byMac;
    for (const SnapshotDevice &entry : list)
        byMac[entry.record.mac.toString()].append(entry);
    return byMac;
}

void addDuplicates(QVector<DeviceDifference> &differences,
    const QMap<QString, QVector<SnapshotDevice>> &byMac, bool inOldList)
{
    for (auto entries = byMac.cbegin(); entries != byMac.cend(); ++entries) {
        if (entries->size() < 2)
            continue;
        DeviceDifference twice;
        twice.kind = DeviceDifference::Duplicate;
        twice.mac = entries.key();
        twice.inOldList = inOldList;
        twice.entries = *entries;
        differences.append(twice);
    }
}

} // namespace

DeviceDifference DeviceDifference::newDevice(const SnapshotDevice &device)
{
    DeviceDifference difference;
    difference.kind = New;
    difference.mac = device.record.mac.toString();
    difference.device = device;
    return difference;
}

DeviceDifference DeviceDifference::missingDevice(const SnapshotDevice &device)
{
    DeviceDifference difference = newDevice(device);
    difference.kind = Missing;
    return difference;
}

DeviceDifference DeviceDifference::changedDevice(
    const SnapshotDevice &before, const SnapshotDevice &after, const QVector<DeviceField> &fields)
{
    DeviceDifference difference = newDevice(after);
    difference.kind = Changed;
    difference.before = before;
    difference.changedFields = fields;
    return difference;
}

QString deviceFieldKey(DeviceField field)
{
    switch (field) {
    case DeviceField::Type:
        return QStringLiteral("type");
    case DeviceField::Name:
        return QStringLiteral("name");
    case DeviceField::Ip:
        return QStringLiteral("ip");
    case DeviceField::Mask:
        return QStringLiteral("mask");
    case DeviceField::Gateway:
        return QStringLiteral("gateway");
    case DeviceField::Version:
        return QStringLiteral("version");
    case DeviceField::Points:
        break;
    }
    return QStringLiteral("points");
}

QString deviceFieldText(const DeviceRecord &device, DeviceField field)
{
    switch (field) {
    case DeviceField::Type:
        return device.typeText();
    case DeviceField::Name:
        return neutralizedText(device.name());
    case DeviceField::Ip:
        return device.ip.toString();
    case DeviceField::Mask:
        return device.mask.toString();
    case DeviceField::Gateway:
        return device.gateway.toString();
    case DeviceField::Version:
        return device.version;
    case DeviceField::Points:
        break;
    }
    return device.points;
}

QVector<DeviceField> changedDeviceFields(const DeviceRecord &before, const DeviceRecord &after)
{
    // Values where there are values: the window asks this for every row it counts.
    const auto same = [&before, &after](DeviceField field) {
        switch (field) {
        case DeviceField::Ip:
            return before.ip == after.ip;
        case DeviceField::Mask:
            return before.mask == after.mask;
        case DeviceField::Gateway:
            return before.gateway == after.gateway;
        case DeviceField::Name: {
            const QString beforeName = before.name();
            const QString afterName = after.name();
            return beforeName == afterName
                || neutralizedText(beforeName) == neutralizedText(afterName);
        }
        default:
            return deviceFieldText(before, field) == deviceFieldText(after, field);
        }
    };
    QVector<DeviceField> fields;
    for (const DeviceField field : AllFields) {
        if (!same(field))
            fields.append(field);
    }
    return fields;
}

QVector<DeviceDifference> compareSnapshots(const Snapshot &oldList, const Snapshot &newList)
{
    const QMap<QString, QVector<SnapshotDevice>> oldByMac = entriesByMac(oldList);
    const QMap<QString, QVector<SnapshotDevice>> newByMac = entriesByMac(newList);
    const auto once = [](const QMap<QString, QVector<SnapshotDevice>> &byMac, const QString &mac) {
        return byMac.value(mac).size() == 1;
    };

    QVector<DeviceDifference> differences;
    for (auto entries = newByMac.cbegin(); entries != newByMac.cend(); ++entries) {
        if (once(newByMac, entries.key()) && !oldByMac.contains(entries.key()))
            differences.append(DeviceDifference::newDevice(entries->constFirst()));
    }
    for (auto entries = oldByMac.cbegin(); entries != oldByMac.cend(); ++entries) {
        if (once(oldByMac, entries.key()) && !newByMac.contains(entries.key()))
            differences.append(DeviceDifference::missingDevice(entries->constFirst()));
    }
    for (auto entries = newByMac.cbegin(); entries != newByMac.cend(); ++entries) {
        const QString &mac = entries.key();
        if (!once(newByMac, mac) || !once(oldByMac, mac))
            continue;
        const SnapshotDevice before = oldByMac.value(mac).constFirst();
        const SnapshotDevice &after = entries->constFirst();
        const QVector<DeviceField> fields = changedDeviceFields(before.record, after.record);
        if (!fields.isEmpty())
            differences.append(DeviceDifference::changedDevice(before, after, fields));
    }
    addDuplicates(differences, oldByMac, true);
    addDuplicates(differences, newByMac, false);
    return differences;
}
