// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef ADDRESSCHECKS_H
#define ADDRESSCHECKS_H

#include "addresschecker.h"

#include <QVector>

#include <optional>

class InterruptWatcher;

// A device and the IP it is to be written.
struct AddressCheckJob
{
    DeviceRecord device;
    Ipv4Address newIp;
};

// How many addresses are asked about at once: a plan of a hundred lines takes
// a few rounds of the kernel's ARP tries, not a hundred, and the cable sees at
// most about this many ARP requests a second.
constexpr int MaxParallelAddressChecks = 32;

// Checks every job's new IP, at most maxParallel at once, and gives the results
// in the jobs' order; nothing when an interrupt cut the checks short.
std::optional<QVector<AddressCheckResult>> runAddressChecks(const QVector<AddressCheckJob> &jobs,
    const QVector<DeviceRecord> &listed, const AddressProbeSender &sendProbe,
    const InterruptWatcher &watcher, int maxParallel = MaxParallelAddressChecks);

// "02:4E:58:00:00:05 (Press PLC)", "02:4E:58:00:00:30" or "this computer".
QString addressHolderText(const AddressCheckResult &result);

#endif // ADDRESSCHECKS_H
