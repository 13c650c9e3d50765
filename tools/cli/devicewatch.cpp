// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicewatch.h"

#include <utility>

namespace {

bool firstOfMac(const DeviceRecord &a, const DeviceRecord &b)
{
    return std::make_pair(a.ip, a.name()) < std::make_pair(b.ip, b.name());
}

} // namespace

QVector<DeviceDifference> DeviceWatch::takeScan(const QVector<DeviceRecord> &devices)
{
    QMap<QString, DeviceRecord> heard;
    for (const DeviceRecord &device : devices) {
        const QString mac = device.mac.toString();
        const auto listed = heard.find(mac);
        if (listed == heard.end())
            heard.insert(mac, device);
        else if (firstOfMac(device, *listed))
            *listed = device;
    }

    QVector<DeviceDifference> appeared, changed, gone;
    for (auto device = heard.cbegin(); device != heard.cend(); ++device) {
        const auto listed = known.find(device.key());
        if (listed == known.end()) {
            known.insert(device.key(), { *device, 0 });
            appeared.append(DeviceDifference::newDevice({ *device, 0 }));
            continue;
        }
        const QVector<DeviceField> fields = changedDeviceFields(listed->device, *device);
        if (!fields.isEmpty())
            changed.append(
                DeviceDifference::changedDevice({ listed->device, 0 }, { *device, 0 }, fields));
        *listed = { *device, 0 };
    }
    for (auto listed = known.begin(); listed != known.end();) {
        if (heard.contains(listed.key()) || ++listed->missedScans < MissedScansForGone) {
            ++listed;
            continue;
        }
        gone.append(DeviceDifference::missingDevice({ listed->device, 0 }));
        listed = known.erase(listed);
    }
    return appeared + changed + gone;
}
