// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DEVICEDIFF_H
#define DEVICEDIFF_H

#include "snapshot.h"

#include <QString>
#include <QVector>

// What two lists of the same network can differ in, device by device.
enum class DeviceField { Type, Name, Ip, Mask, Gateway, Version, Points };

// "type", "name", "ip", "mask", "gateway", "version", "points": the CSV
// columns, the JSON keys and the words of the difference lines.
QString deviceFieldKey(DeviceField field);

// The field as the lists hold it. A name is compared as a CSV holds it, with
// hidden characters as a placeholder, so that a CSV and a JSON of one scan agree.
QString deviceFieldText(const DeviceRecord &device, DeviceField field);

// One device that differs. A device is known by its MAC, which it keeps when
// it is re-addressed.
struct DeviceDifference
{
    enum Kind {
        New, // only in the new list
        Missing, // only in the old list
        Changed, // in both, with other values
        Duplicate, // listed more than once in one list: it cannot be paired
    };
    Kind kind = New;
    QString mac;
    // New, Changed: the new list's device; Missing: the old list's.
    SnapshotDevice device;
    // Changed: the old list's device and the fields that differ, in field order.
    SnapshotDevice before;
    QVector<DeviceField> changedFields;
    // Duplicate: the list that holds the MAC more than once, and every entry of it.
    bool inOldList = false;
    QVector<SnapshotDevice> entries;

    static DeviceDifference newDevice(const SnapshotDevice &device);
    static DeviceDifference missingDevice(const SnapshotDevice &device);
    static DeviceDifference changedDevice(const SnapshotDevice &before, const SnapshotDevice &after,
        const QVector<DeviceField> &fields);
};

// The fields in which two records of one device differ.
QVector<DeviceField> changedDeviceFields(const DeviceRecord &before, const DeviceRecord &after);

// Every difference between the lists: new, missing, changed, then MACs listed
// twice, each kind in MAC order. Devices that did not change give none.
QVector<DeviceDifference> compareSnapshots(const Snapshot &oldList, const Snapshot &newList);

#endif // DEVICEDIFF_H
