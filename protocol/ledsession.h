// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef LEDSESSION_H
#define LEDSESSION_H

#include "mysocket.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

// Flashes one device's LEDs while someone looks for it: the first flash request
// at start(), the same request every 500 ms (a device stops by itself when the
// requests stop), and the one stop request at stop(). A request that cannot be
// sent is told once per session, not every 500 ms.
class LedSession : public QObject
{
    Q_OBJECT

public:
    static constexpr int RepeatMs = 500;

    // Without an endpoint every request fails with MySocket::notOpenText().
    LedSession(MySocket *endpoint, const DeviceTarget &target, QObject *parent = nullptr);

    // Sends the first flash request and starts the repeats; false with
    // errorString() when it could not be sent (the repeats go on all the same:
    // a cable plugged in meanwhile makes the device flash).
    bool start();
    // Ends the repeats and sends the stop request, once; false with
    // errorString() when it could not be sent. Later calls send nothing. A
    // session destroyed without it only ends the repeats.
    bool stop();
    bool isRunning() const { return repeats.isActive(); }
    QString errorString() const { return error; }

signals:
    // The first request of the session that could not be sent, with the reason.
    void sendFailed(const QString &reason);
    // A request sent again after sendFailed(); a later failure is told anew.
    void sendRecovered();

private:
    bool flash();

    QPointer<MySocket> endpoint;
    DeviceTarget target;
    QTimer repeats;
    QString error;
    bool failureTold = false;
    bool stopped = false;
};

#endif // LEDSESSION_H
