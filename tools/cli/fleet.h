// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef CLI_FLEET_H
#define CLI_FLEET_H

#include "devicelistmodel.h"
#include "mysocket.h"
#include "plan.h"
#include "scanrun.h"

#include <QObject>
#include <QVector>

#include <memory>

class InterruptWatcher;
class LedSession;

// The devices on the network as the command-line tool reaches them: through the
// window's endpoint, one scan at a time. Every wait ends early on an interrupt.
class Fleet : public QObject
{
    Q_OBJECT

public:
    explicit Fleet(const InterruptWatcher *watcher, QObject *parent = nullptr);
    ~Fleet() override;

    // Binds port 102; false with bindErrorString() when that fails.
    bool open();
    QString bindErrorString() const;
    BindAdvice bindAdvice() const { return socket->bindAdvice(); }

    // Sends the scan's tries on every adapter and returns every device that
    // answered until waitMs after the last try; listedDevices() has them too,
    // with their duplicate marks, and lastScan() where the tries went.
    QVector<DeviceRecord> scan(int waitMs);
    // From 1 to ScanRun::MaxTries, for the scans that follow.
    void setScanTries(int tries) { run->setTries(tries); }
    const DeviceListModel &listedDevices() const { return listed; }
    const ScanReport &lastScan() const { return scanReport; }
    // Waits ms milliseconds; false when an interrupt cut the wait short.
    bool pause(int ms);

    // Each request reaches the device by the window's reach rule (sendpath.h);
    // false with sendErrorString() when it could not be sent.
    // Flashes the device's LEDs, repeating every 500 ms until stopFlashing().
    bool startFlashing(const DeviceRecord &device);
    bool stopFlashing(const DeviceRecord &device);
    // Sends the modify request: the target's addresses, the device's own MAC and name.
    bool write(const DeviceRecord &device, const PlanEntry &target);
    QString sendErrorString() const;
    // The probe of an address check, from the endpoint's port like every request.
    bool sendAddressProbe(const QHostAddress &ip, int interfaceIndex, QString *error);

private:
    DeviceTarget targetOf(const DeviceRecord &device) const;

    const InterruptWatcher *watcher;
    MySocket *socket;
    ScanRun *run;
    DeviceListModel listed;
    ScanReport scanReport;
    std::unique_ptr<LedSession> leds;
    QString sendError;
};

#endif // CLI_FLEET_H
