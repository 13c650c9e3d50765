// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef INTERRUPTWATCHER_H
#define INTERRUPTWATCHER_H

#include <QObject>

class QSocketNotifier;

// Turns SIGINT and SIGTERM into a signal of the event loop. The handler only
// writes one byte to a pipe, which is all a signal handler may safely do; the
// loop reads it and the program ends its work in order (stop the flashing,
// finish the write in hand and its audit line). On Windows, Ctrl+C and
// Ctrl+Break reach the console's handler on a thread of their own, which posts
// the same signal to the loop.
class InterruptWatcher : public QObject
{
    Q_OBJECT

public:
    explicit InterruptWatcher(QObject *parent = nullptr);
    ~InterruptWatcher() override;

    bool isInterrupted() const { return interruptedFlag; }

signals:
    void interrupted();

private slots:
    void interruptArrived();

private:
    QSocketNotifier *notifier = nullptr;
    bool interruptedFlag = false;
};

#endif // INTERRUPTWATCHER_H
