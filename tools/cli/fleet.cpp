// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "fleet.h"

#include "interruptwatcher.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QTimer>

Fleet::Fleet(const InterruptWatcher *watcher, QObject *parent)
    : QObject(parent)
    , watcher(watcher)
    , socket(new MySocket(this))
    , run(new ScanRun(socket, this))
{
    connect(socket, &MySocket::deviceReplied, &listed, &DeviceListModel::append);
}

bool Fleet::open()
{
    socket->initUdpSocket();
    return socket->isBound();
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
    aimAt(device);
    if (!socket->udpSendCmdLedsFlash(device.mac))
        return false;
    socket->startLedsFlashTimer();
    return true;
}

bool Fleet::stopFlashing(const DeviceRecord &device)
{
    socket->stopLedsFlashTimer();
    aimAt(device);
    const bool sent = socket->udpSendCmdLedsStop(device.mac);
    socket->waitForUdpWritten();
    return sent;
}

bool Fleet::write(const DeviceRecord &device, const PlanEntry &target)
{
    Datagram::ModifyFields fields;
    fields.targetMac = device.mac;
    fields.mac = device.mac;
    fields.name = Datagram::nameFieldFromReported(device.nameBytes);
    fields.settings = target.settings;
    aimAt(device);
    const bool sent = socket->udpSendCmdModify(fields);
    socket->waitForUdpWritten();
    return sent;
}

QString Fleet::sendErrorString() const
{
    return socket->lastSendError();
}

void Fleet::aimAt(const DeviceRecord &device)
{
    // Devices that share an IP address, such as a line of drives fresh from the
    // factory, cannot be told apart by it: the address resolves to one of them only,
    // and the others would never see their request. Such a device's requests go to
    // the broadcast address instead; every device reads the target MAC and only the
    // one it names acts on it.
    socket->setDevice(device);
    if (listed.sharesIp(device))
        socket->setDeviceIp(Ipv4Address(QHostAddress(QHostAddress::Broadcast).toIPv4Address()));
}
