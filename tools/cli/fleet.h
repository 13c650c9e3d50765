// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef CLI_FLEET_H
#define CLI_FLEET_H

#include "devicelistmodel.h"
#include "plan.h"

#include <QObject>
#include <QVector>

class InterruptWatcher;
class MySocket;

// The devices on the network as the command-line tool reaches them: through the
// window's endpoint, one scan at a time. Every wait ends early on an interrupt.
class Fleet : public QObject
{
    Q_OBJECT

public:
    explicit Fleet(const InterruptWatcher *watcher, QObject *parent = nullptr);

    // Binds port 102; false with bindErrorString() when that fails.
    bool open();
    QString bindErrorString() const;

    // Sends one scan request and returns every accepted reply within waitMs;
    // listedDevices() has them too, with their duplicate marks.
    QVector<DeviceRecord> scan(int waitMs);
    const DeviceListModel &listedDevices() const { return listed; }
    // Waits ms milliseconds; false when an interrupt cut the wait short.
    bool pause(int ms);

    // Flashes the device's LEDs, repeating every 500 ms until stopFlashing().
    void startFlashing(const DeviceRecord &device);
    void stopFlashing(const DeviceRecord &device);
    // Sends the modify request: the target's addresses, the device's own MAC and name.
    void write(const DeviceRecord &device, const PlanEntry &target);

private:
    const InterruptWatcher *watcher;
    MySocket *socket;
    DeviceListModel listed;
};

#endif // CLI_FLEET_H
