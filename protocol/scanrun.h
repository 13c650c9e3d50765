// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef SCANRUN_H
#define SCANRUN_H

#include "mysocket.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

// One scan as the window and the command-line tool make it: the scan request
// sent several times on every adapter, spread out, because a plant network
// loses datagrams (a switch port still coming up, a busy device, a noisy
// cable). Devices answer every try; the device list takes an answer it has
// for the row it has. Replies go on arriving through the endpoint as ever.
class ScanRun : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultTries = 3;
    static constexpr int MaxTries = 10;

    explicit ScanRun(MySocket *endpoint, QObject *parent = nullptr);

    // From 1 to MaxTries; for the runs started after.
    void setTries(int tries);
    int tries() const { return wantedTries; }
    // Sends the first try at once and the others later; the tries a run before
    // still had pending are not sent.
    void start();
    // Sends no more tries of this run.
    void cancel();
    // Whether tries are still to be sent.
    bool isRunning() const { return pacer.isActive(); }
    // Where the run's tries went so far: an adapter counts as scanned once a try
    // went out on it. Empty before the first run.
    const ScanReport &report() const { return reached; }
    // When try n (from 0) leaves, in milliseconds after the first: 0, 500,
    // 1500, then every 2000, each after the gap before it has doubled, without
    // the jitter added on the way.
    static int tryOffsetMs(int tryNo);

signals:
    void trySent(int tryNo);
    // The last try of a run that was not cancelled is sent.
    void finished();

private:
    void sendTry();
    void noteTry(const ScanReport &tryReport);

    QPointer<MySocket> endpoint;
    QTimer pacer;
    int wantedTries = DefaultTries;
    int sentTries = 0;
    // Tells a run that a receiver of its signal started another.
    int runNo = 0;
    ScanReport reached;
};

#endif // SCANRUN_H
