// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DEVICEWATCH_H
#define DEVICEWATCH_H

#include "devicediff.h"

#include <QMap>
#include <QVector>

// What `watch` knows of the network between its scans: every device heard, by
// MAC, and how many scans in a row it has missed.
class DeviceWatch
{
public:
    // A device is gone only when it missed this many scans in a row: one lost
    // reply is no alarm.
    static constexpr int MissedScansForGone = 2;

    // Takes one scan's devices and gives what changed since the scans before:
    // New for a device heard for the first time (or again after it was gone),
    // Changed, and Missing for a device gone; each kind in MAC order. A MAC
    // that answers more than once in a scan is followed by its first answer in
    // IP and name order.
    QVector<DeviceDifference> takeScan(const QVector<DeviceRecord> &devices);

private:
    struct Known
    {
        DeviceRecord device;
        int missedScans = 0;
    };
    QMap<QString, Known> known;
};

#endif // DEVICEWATCH_H
