// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "fleet.h"

#include "interruptwatcher.h"
#include "ledsession.h"

#include <QEventLoop>
#include <QTimer>

Fleet::Fleet(const InterruptWatcher *watcher, QObject *parent)
    : QObject(parent)
    , watcher(watcher)
    , socket(new MySocket(this))
    , run(new ScanRun(socket, this))
{
    connect(socket, &MySocket::deviceReplied, &listed, &DeviceListModel::append);
}

Fleet::~Fleet() = default;

bool Fleet::open()
{
    return socket->initUdpSocket();
}

QString Fleet::bindErrorString() const
{
    return socket->bindErrorString();
}

QVector<DeviceRecord> Fleet::scan(int waitMs)
{
    listed.clear();
    QEventLoop loop;
    connect(run, &ScanRun::finished, &loop, &QEventLoop::quit);
    connect(watcher, &InterruptWatcher::interrupted, &loop, &QEventLoop::quit);
    run->start();
    if (run->isRunning() && !watcher->isInterrupted())
        loop.exec();
    run->cancel();
    scanReport = run->report();
    if (scanReport.anySent())
        pause(waitMs);
    return listed.listedRecords();
}

bool Fleet::pause(int ms)
{
    if (watcher->isInterrupted())
        return false;
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    connect(watcher, &InterruptWatcher::interrupted, &loop, &QEventLoop::quit);
    loop.exec();
    return !watcher->isInterrupted();
}

bool Fleet::startFlashing(const DeviceRecord &device)
{
    leds = std::make_unique<LedSession>(socket, targetOf(device));
    if (leds->start())
        return true;
    sendError = leds->errorString();
    leds.reset();
    return false;
}

bool Fleet::stopFlashing(const DeviceRecord &device)
{
    if (!leds)
        leds = std::make_unique<LedSession>(socket, targetOf(device));
    const bool sent = leds->stop();
    sendError = leds->errorString();
    leds.reset();
    return sent;
}

bool Fleet::write(const DeviceRecord &device, const PlanEntry &target)
{
    // The device keeps its MAC and the name bytes it reported.
    const bool sent = socket->udpSendCmdModify(targetOf(device), device.mac,
        Datagram::nameFieldFromReported(device.nameBytes), target.settings);
    sendError = socket->lastSendError();
    return sent;
}

QString Fleet::sendErrorString() const
{
    return sendError;
}

bool Fleet::sendAddressProbe(const QHostAddress &ip, int interfaceIndex, QString *error)
{
    return socket->udpSendAddressProbe(ip, interfaceIndex, error);
}

DeviceTarget Fleet::targetOf(const DeviceRecord &device) const
{
    return DeviceTarget::of(device, listed.sharesIp(device));
}
