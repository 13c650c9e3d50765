// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef WRITECONFIRMATION_H
#define WRITECONFIRMATION_H

#include "devicerecord.h"

#include <QObject>

class QTimer;

// Watches, after a write, for the device to answer with its new settings: asks
// for a scan now and then until it does, or until the time is up.
class WriteConfirmation : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultLimitMs = 30000;
    static constexpr int ScanIntervalMs = 3000;

    // written: the device as it should answer (its MAC and new settings).
    explicit WriteConfirmation(
        const DeviceRecord &written, int limitMs = DefaultLimitMs, QObject *parent = nullptr);

    const DeviceRecord &written() const { return expected; }
    void start();
    // A reply listed while watching; the one with the MAC and the new settings confirms.
    void offer(const DeviceRecord &device);

signals:
    void scanWanted();
    void confirmed();
    void notSeen();

private:
    void askAgain();

    DeviceRecord expected;
    int limitMs;
    int scansLeft = 0;
    QTimer *timer;
};

#endif // WRITECONFIRMATION_H
