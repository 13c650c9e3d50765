// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "addresschecker.h"

#include "neighbourtable.h"

#include <QNetworkInterface>
#include <QTimer>

AddressChecker::AddressChecker(AddressProbeSender sendProbe, QObject *parent)
    : QObject(parent)
    , sendProbe(std::move(sendProbe))
    , pollTimer(new QTimer(this))
{
    pollTimer->setInterval(PollIntervalMs);
    connect(pollTimer, &QTimer::timeout, this, &AddressChecker::poll);
}

std::optional<AddressCheckResult> AddressChecker::start(
    const DeviceRecord &device, Ipv4Address newIp, const QVector<DeviceRecord> &listed)
{
    cancel();
    facts = AddressCheckFacts();
    facts.newIp = newIp;
    facts.currentIp = device.ip;
    facts.deviceMac = device.mac;
    facts.listHolder = listedHolderOf(listed, device, newIp);
    interfaceIndex = device.interfaceIndex;
    if (interfaceIndex != 0)
        facts.adapterAddresses
            = ipv4AddressesOf(QNetworkInterface::interfaceFromIndex(interfaceIndex));
    if (const std::optional<AddressCheckResult> known = decideAddressCheck(facts))
        return known;

    QString error;
    if (!sendProbe(QHostAddress(newIp.toUInt32()), interfaceIndex, &error)) {
        facts.systemError = error;
        return decideAddressCheck(facts);
    }
    sinceProbe.start();
    pollTimer->start();
    return std::nullopt;
}

void AddressChecker::cancel()
{
    pollTimer->stop();
}

bool AddressChecker::isRunning() const
{
    return pollTimer->isActive();
}

void AddressChecker::poll()
{
    facts.deadlinePassed = sinceProbe.hasExpired(DeadlineMs);
    QString error;
    if (!readNeighbourEntry(
            interfaceIndex, QHostAddress(facts.newIp.toUInt32()), &facts.neighbour, &error))
        facts.systemError = error;
    const std::optional<AddressCheckResult> result = decideAddressCheck(facts);
    if (!result)
        return;
    pollTimer->stop();
    emit finished(*result);
}
