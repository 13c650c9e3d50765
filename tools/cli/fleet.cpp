// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "fleet.h"

#include "devicesettingssource.h"
#include "interruptwatcher.h"
#include "mysocket.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QTimer>

namespace {

// A modify request that keeps the device's MAC and name and changes its addresses.
class PlannedSettings : public DeviceSettingsSource
{
public:
    PlannedSettings(const DeviceRecord &device, const PlanEntry &target)
        : device(device)
        , target(target)
    { }

    QString tableMacText() const override { return device.mac; }
    QString macText() const override { return device.mac; }
    QString deviceNameText() const override { return device.name; }
    QByteArray nameField() const override
    {
        return Datagram::nameFieldFromReported(device.nameBytes);
    }
    QString ipText() const override { return target.ip; }
    QString netMaskText() const override { return target.mask; }
    QString gateWayText() const override { return target.gateway; }

private:
    const DeviceRecord &device;
    const PlanEntry &target;
};

// Devices that share an IP address, such as a line of drives fresh from the
// factory, cannot be told apart by it: the address resolves to one of them only,
// and the others would never see their request. Such a device's requests go to
// the broadcast address instead; every device reads the target MAC and only the
// one it names acts on it.
QString destinationOf(const DeviceListModel &listed, const DeviceRecord &device)
{
    return listed.sharesIp(device) ? QHostAddress(QHostAddress::Broadcast).toString() : device.ip;
}

} // namespace

Fleet::Fleet(const InterruptWatcher *watcher, QObject *parent)
    : QObject(parent)
    , watcher(watcher)
    , socket(new MySocket(this))
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
    socket->udpSendCmdScan();
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

void Fleet::startFlashing(const DeviceRecord &device)
{
    socket->setDeviceIp(destinationOf(listed, device));
    socket->udpSendCmdLedsFlash(device.mac);
    socket->startLedsFlashTimer();
}

void Fleet::stopFlashing(const DeviceRecord &device)
{
    socket->stopLedsFlashTimer();
    socket->setDeviceIp(destinationOf(listed, device));
    socket->udpSendCmdLedsStop(device.mac);
    socket->waitForUdpWritten();
}

void Fleet::write(const DeviceRecord &device, const PlanEntry &target)
{
    const PlannedSettings settings(device, target);
    socket->setDeviceIp(destinationOf(listed, device));
    socket->udpSendCmdModify(&settings);
    socket->waitForUdpWritten();
}
