// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "ledsession.h"

LedSession::LedSession(MySocket *endpoint, const DeviceTarget &target, QObject *parent)
    : QObject(parent)
    , endpoint(endpoint)
    , target(target)
{
    repeats.setInterval(RepeatMs);
    connect(&repeats, &QTimer::timeout, this, &LedSession::flash);
}

bool LedSession::start()
{
    stopped = false;
    repeats.start();
    return flash();
}

bool LedSession::stop()
{
    repeats.stop();
    if (stopped)
        return true;
    stopped = true;
    if (endpoint && endpoint->udpSendCmdLedsStop(target))
        return true;
    error = endpoint ? endpoint->lastSendError() : MySocket::notOpenText();
    return false;
}

bool LedSession::flash()
{
    if (endpoint && endpoint->udpSendCmdLedsFlash(target)) {
        if (failureTold) {
            failureTold = false;
            emit sendRecovered();
        }
        return true;
    }
    error = endpoint ? endpoint->lastSendError() : MySocket::notOpenText();
    if (!failureTold) {
        failureTold = true;
        emit sendFailed(error);
    }
    return false;
}
