// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "scanrun.h"

#include <QRandomGenerator>

#include <algorithm>

namespace {
constexpr int FirstGapMs = 500;
constexpr int LongestGapMs = 2000;
// Hosts that start scanning together drift apart instead of asking at the same moment.
constexpr int MaxJitterMs = 50;
} // namespace

ScanRun::ScanRun(MySocket *endpoint, QObject *parent)
    : QObject(parent)
    , endpoint(endpoint)
{
    pacer.setSingleShot(true);
    // The coarse timer may fire 5 % early: the gaps are the point of the tries.
    pacer.setTimerType(Qt::PreciseTimer);
    connect(&pacer, &QTimer::timeout, this, &ScanRun::sendTry);
}

void ScanRun::setTries(int tries)
{
    wantedTries = qBound(1, tries, MaxTries);
}

int ScanRun::tryOffsetMs(int tryNo)
{
    int offset = 0;
    for (int gap = FirstGapMs, n = 0; n < tryNo; ++n, gap = qMin(2 * gap, LongestGapMs))
        offset += gap;
    return offset;
}

void ScanRun::start()
{
    cancel();
    ++runNo;
    sentTries = 0;
    reached = {};
    sendTry();
}

void ScanRun::cancel()
{
    pacer.stop();
}

void ScanRun::sendTry()
{
    const int tryNo = sentTries++;
    const int thisRun = runNo;
    if (endpoint)
        noteTry(endpoint->udpSendCmdScan());
    // An endpoint without its port stays so: the tries left would be refused too.
    const bool more = sentTries < wantedTries && !reached.notOpen;
    // Started before the signal: a receiver that starts a new run stops this one.
    if (more)
        pacer.start(tryOffsetMs(sentTries) - tryOffsetMs(tryNo)
            + int(QRandomGenerator::global()->bounded(MaxJitterMs + 1)));
    emit trySent(tryNo);
    if (!more && runNo == thisRun)
        emit finished();
}

void ScanRun::noteTry(const ScanReport &tryReport)
{
    reached.notOpen = tryReport.notOpen && reached.adapters.isEmpty();
    // Adapters are read anew at every try: one plugged in meanwhile joins.
    for (const ScanAdapter &adapter : tryReport.adapters) {
        const auto known = std::find_if(
            reached.adapters.begin(), reached.adapters.end(), [&](const ScanAdapter &earlier) {
                return earlier.interfaceIndex == adapter.interfaceIndex;
            });
        if (known == reached.adapters.end()) {
            reached.adapters.append(adapter);
        } else if (!known->sent) {
            *known = adapter;
        }
    }
}
