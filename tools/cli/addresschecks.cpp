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
    // Each checker takes the next job when its own is done.
    const auto startNext = [&](AddressChecker *checker) {
        while (next < jobs.size() && !watcher.isInterrupted()) {
            const int index = next++;
            const AddressCheckJob &job = jobs.at(index);
            checker->setProperty("job", index);
            if (const std::optional<AddressCheckResult> known
                = checker->start(job.device, job.newIp, listed)) {
                results[index] = *known;
                continue;
            }
            ++running;
            return;
        }
    };
    for (int count = 0; count < maxParallel && count < jobs.size(); ++count) {
        auto *checker = new AddressChecker(sendProbe, &loop);
        QObject::connect(checker, &AddressChecker::finished, &loop,
            [&, checker](const AddressCheckResult &result) {
                results[checker->property("job").toInt()] = result;
                --running;
                startNext(checker);
                if (running == 0)
                    loop.quit();
            });
        startNext(checker);
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
