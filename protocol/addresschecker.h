// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef ADDRESSCHECKER_H
#define ADDRESSCHECKER_H

#include "addresscheck.h"

#include <QElapsedTimer>
#include <QObject>

#include <functional>

class QTimer;

// Sends the datagram that makes the kernel resolve an address: to its discard
// port, out of the adapter with the index; false with the system's reason.
using AddressProbeSender
    = std::function<bool(const QHostAddress &ip, int interfaceIndex, QString *error)>;

// Checks that an address is free before a device is written it. A holder among
// the listed devices, or an address off every subnet of the adapter that heard
// the device, is answered at once. Otherwise one probe datagram makes the kernel
// ask by ARP, and the neighbour table is read until it holds an answer: an
// answering station at once, a free address after the kernel's tries (about
// 3 s), and "not checked" when neither came by the deadline.
class AddressChecker : public QObject
{
    Q_OBJECT

public:
    static constexpr int DeadlineMs = 3500;
    static constexpr int PollIntervalMs = 50;

    explicit AddressChecker(AddressProbeSender sendProbe, QObject *parent = nullptr);

    // Starts checking that the device may take the new IP. Gives the answer when
    // it is known at once; otherwise finished() brings it. A check still running
    // is dropped.
    std::optional<AddressCheckResult> start(
        const DeviceRecord &device, Ipv4Address newIp, const QVector<DeviceRecord> &listed);
    void cancel();
    bool isRunning() const;

signals:
    void finished(const AddressCheckResult &result);

private:
    void poll();

    AddressProbeSender sendProbe;
    AddressCheckFacts facts;
    int interfaceIndex = 0;
    QTimer *pollTimer;
    QElapsedTimer sinceProbe;
};

#endif // ADDRESSCHECKER_H
