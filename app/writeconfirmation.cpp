// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "writeconfirmation.h"

#include <QTimer>

WriteConfirmation::WriteConfirmation(const DeviceRecord &written, int limitMs, QObject *parent)
    : QObject(parent)
    , expected(written)
    , limitMs(limitMs)
    , timer(new QTimer(this))
{
    timer->setInterval(qMax(1, qMin(ScanIntervalMs, limitMs / 2)));
    connect(timer, &QTimer::timeout, this, &WriteConfirmation::askAgain);
}

void WriteConfirmation::start()
{
    // The device restarts before it takes its new settings: the first scan
    // comes one interval after the write, the last one interval before the limit.
    scansLeft = limitMs / timer->interval() - 1;
    timer->start();
}

void WriteConfirmation::offer(const DeviceRecord &device)
{
    if (!timer->isActive() || device.mac != expected.mac
        || device.settings() != expected.settings())
        return;
    timer->stop();
    emit confirmed();
}

void WriteConfirmation::askAgain()
{
    if (scansLeft == 0) {
        timer->stop();
        emit notSeen();
        return;
    }
    --scansLeft;
    emit scanWanted();
}
