// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "addresschecks.h"

#include "interruptwatcher.h"
#include "safetext.h"

#include <QEventLoop>

std::optional<QVector<AddressCheckResult>> runAddressChecks(const QVector<AddressCheckJob> &jobs,
    const QVector<DeviceRecord> &listed, const AddressProbeSender &sendProbe,
    const InterruptWatcher &watcher, int maxParallel)
{
    QVector<AddressCheckResult> results(jobs.size());
    QEventLoop loop;
    int next = 0;
    int running = 0;
    // The job each checker is on, by the checker's place.
    const int checkerCount = qMin(maxParallel, int(jobs.size()));
    QVector<int> jobOf(checkerCount, -1);
    // Each checker takes the next job when its own is done.
    const auto startNext = [&](AddressChecker *checker, int place) {
        while (next < jobs.size() && !watcher.isInterrupted()) {
            const int index = next++;
            jobOf[place] = index;
            const AddressCheckJob &job = jobs.at(index);
            if (const std::optional<AddressCheckResult> known
                = checker->start(job.device, job.newIp, listed)) {
                results[index] = *known;
                continue;
            }
            ++running;
            return;
        }
    };
    for (int place = 0; place < checkerCount; ++place) {
        auto *checker = new AddressChecker(sendProbe, &loop);
        QObject::connect(checker, &AddressChecker::finished, &loop,
            [&, checker, place](const AddressCheckResult &result) {
                results[jobOf.at(place)] = result;
                --running;
                startNext(checker, place);
                if (running == 0)
                    loop.quit();
            });
        startNext(checker, place);
    }
    QObject::connect(&watcher, &InterruptWatcher::interrupted, &loop, &QEventLoop::quit);
    if (running > 0)
        loop.exec();
    if (watcher.isInterrupted())
        return std::nullopt;
    return results;
}

QString addressHolderText(const AddressCheckResult &result)
{
    if (result.heldByThisComputer)
        return QStringLiteral("this computer");
    if (result.holderName.isEmpty())
        return result.holderMac.toString();
    return QStringLiteral("%1 (%2)").arg(
        result.holderMac.toString(), boundedText(neutralizedText(result.holderName)));
}
