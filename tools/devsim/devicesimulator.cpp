// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicesimulator.h"

#include "malformedreplies.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QNetworkInterface>
#include <QRandomGenerator>
#include <QThread>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#ifdef Q_OS_LINUX
#include "pktinfomessage.h"
#endif

namespace {

// A burst can fill the socket's send buffer for a moment; waiting for room
// beats losing replies.
constexpr int SendAttempts = 200;
constexpr unsigned long SendRetryMicroseconds = 250;

void logLine(const QString &line)
{
    std::fputs(line.toUtf8().append('\n').constData(), stdout);
    // Scripts follow the log while the simulator runs.
    std::fflush(stdout);
}

QString deviceText(const SimulatedDevice &device)
{
    const DeviceRecord record = device.record();
    return QStringLiteral("%1 %2 %3")
        .arg(record.mac.toString(), record.ip.toString(), record.name());
}

QString settingsText(const Datagram::ModifyFields &modify)
{
    return QStringLiteral("MAC %1, IP %2, net mask %3, gateway %4")
        .arg(modify.mac.toString(), modify.settings.ip.toString(), modify.settings.mask.toString(),
            modify.settings.gateway.toString());
}

QString requestText(const Datagram::Request &request)
{
    switch (request.kind) {
    case Datagram::Request::Scan:
        return QStringLiteral("scan");
    case Datagram::Request::LedsFlash:
        return QStringLiteral("LED flash for %1").arg(request.targetMac.toString());
    case Datagram::Request::LedsStop:
        return QStringLiteral("LED stop for %1").arg(request.targetMac.toString());
    case Datagram::Request::Modify:
        return QStringLiteral("modify for %1").arg(request.targetMac.toString());
    }
    return QString();
}

#ifdef Q_OS_LINUX
// Sends from a given local address. QNetworkDatagram::setSender() fills the
// in_pktinfo field that Linux ignores when sending; the source is ipi_spec_dst.
bool sendFrom(qintptr descriptor, const QByteArray &datagram, const QHostAddress &to,
    const QHostAddress &from)
{
    sockaddr_in destination {};
    destination.sin_family = AF_INET;
    destination.sin_port = htons(Datagram::DevicePort);
    destination.sin_addr.s_addr = htonl(to.toIPv4Address());
    PacketInfoMessage message(&destination, sizeof destination,
        const_cast<char *>(datagram.constData()), size_t(datagram.size()));
    in_addr source {};
    source.s_addr = htonl(from.toIPv4Address());
    message.setSource(source);
    return ::sendmsg(int(descriptor), &message.header, 0) >= 0;
}
#endif

// Where a request came in: which network, and whether it was a broadcast.
void logArrival(const QNetworkDatagram &datagram, const Datagram::Request &request)
{
    logLine(QStringLiteral("arrived on %1 at %2 from %3: %4")
                .arg(QNetworkInterface::interfaceNameFromIndex(datagram.interfaceIndex()),
                    datagram.destinationAddress().toString(), datagram.senderAddress().toString(),
                    requestText(request)));
}

} // namespace

DeviceSimulator::DeviceSimulator(
    const Fleet &fleet, const SimulatorOptions &options, QObject *parent)
    : QObject(parent)
    , fleet(fleet)
    , options(options)
    , loss(options.lossPercent, options.seed)
{
    connect(&socket, &QUdpSocket::readyRead, this, &DeviceSimulator::readRequests);
}

DatagramLoss::DatagramLoss(double percent, quint32 seed)
    : share(percent / 100)
    , random(seed)
{ }

bool DatagramLoss::drops()
{
    // Nothing drawn without loss: runs without it stay as they were.
    return share > 0 && random.generateDouble() < share;
}

bool DeviceSimulator::bind(QString *error)
{
    if (socket.bind(QHostAddress::AnyIPv4, Datagram::DevicePort,
            QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint))
        return true;
    *error = socket.errorString();
    return false;
}

void DeviceSimulator::playFleet(const Fleet &nextFleet)
{
    for (QTimer *hold : qAsConst(flashHolds))
        hold->deleteLater();
    flashHolds.clear();
    ++fleetGeneration;
    fleet = nextFleet;
}

void DeviceSimulator::readRequests()
{
    while (socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket.receiveDatagram();
        const std::optional<Datagram::Request> request = Datagram::parseRequest(datagram.data());
        if (!request) {
            logLine(QStringLiteral("ignored: %1 bytes from %2 are no request")
                        .arg(datagram.data().size())
                        .arg(datagram.senderAddress().toString()));
            continue;
        }
        logArrival(datagram, *request);
        switch (request->kind) {
        case Datagram::Request::Scan:
            answerScan(request->sequenceNo, datagram.senderAddress());
            break;
        case Datagram::Request::LedsFlash:
        case Datagram::Request::LedsStop:
            handleLeds(*request, datagram.destinationAddress());
            break;
        case Datagram::Request::Modify:
            handleModify(*request, datagram.destinationAddress());
            break;
        }
    }
}

void DeviceSimulator::answerScan(quint32 sequenceNo, const QHostAddress &requester)
{
    if (++scanRequestsHeard <= options.missedScans) {
        logLine(QStringLiteral("scan request %1 from %2: left unanswered (%3 of the first %4)")
                    .arg(sequenceNo)
                    .arg(requester.toString())
                    .arg(scanRequestsHeard)
                    .arg(options.missedScans));
        return;
    }
    QVector<int> answering;
    int deaf = 0;
    for (int index = 0; index < fleet.size(); ++index) {
        if (fleet.at(index).restarting)
            continue;
        if (loss.drops())
            ++deaf;
        else
            answering.append(index);
    }
    logLine(QStringLiteral("scan request %1 from %2: %3 devices answer%4")
                .arg(sequenceNo)
                .arg(requester.toString())
                .arg(answering.size())
                .arg(deaf > 0 ? QStringLiteral(" (%1 did not hear it)").arg(deaf) : QString()));

    QElapsedTimer clock;
    clock.start();
    auto remaining = std::make_shared<int>(answering.size());
    auto lost = std::make_shared<int>(0);
    const auto replySent
        = [this, remaining, lost, clock, requester, total = answering.size()](int copiesLost) {
              *lost += copiesLost;
              if (--*remaining > 0)
                  return;
              QString losses;
              if (options.echo)
                  losses = QStringLiteral(" (each twice, %1 copies lost on the way)").arg(*lost);
              else if (*lost > 0)
                  losses = QStringLiteral(" (%1 lost on the way)").arg(*lost);
              logLine(QStringLiteral("sent %1 replies to %2 in %3 ms%4")
                          .arg(total)
                          .arg(requester.toString())
                          .arg(clock.elapsed())
                          .arg(losses));
          };
    for (int index : answering) {
        const auto sendReply = [=, generation = fleetGeneration] {
            replySent(
                generation == fleetGeneration ? sendScanReply(index, sequenceNo, requester) : 0);
        };
        if (options.maxDelayMs > 0)
            QTimer::singleShot(
                QRandomGenerator::global()->bounded(options.maxDelayMs + 1), this, sendReply);
        else
            sendReply();
    }
    if (options.sendMalformed)
        sendMalformedReplies(requester);
}

int DeviceSimulator::sendScanReply(int index, quint32 sequenceNo, const QHostAddress &requester)
{
    // A device that began restarting while its reply waited stays silent.
    const SimulatedDevice &device = fleet.at(index);
    if (device.restarting)
        return 0;
    const QByteArray reply = Datagram::scanReplyDatagram(device.reply, sequenceNo);
    int lost = 0;
    for (int copy = options.echo ? 2 : 1; copy > 0; --copy) {
        if (loss.drops())
            ++lost;
        else
            send(reply, requester, ownAddressOf(device));
    }
    return lost;
}

QHostAddress DeviceSimulator::ownAddressOf(const SimulatedDevice &device)
{
    // A real device answers from its own IP, also from outside the host's subnet.
    // The system sends from an address only when it is local on this side.
    const QHostAddress ip(device.record().ip.toUInt32());
    auto local = localAddresses.find(ip.toIPv4Address());
    if (local == localAddresses.end()) {
        QUdpSocket probe;
        local = localAddresses.insert(ip.toIPv4Address(), probe.bind(ip, 0));
    }
    return *local ? ip : QHostAddress();
}

void DeviceSimulator::sendMalformedReplies(const QHostAddress &requester)
{
    const QVector<MalformedReply> replies = malformedReplies();
    for (const MalformedReply &reply : replies)
        send(reply.datagram, requester);
    logLine(QStringLiteral("sent %1 malformed replies to %2")
                .arg(replies.size())
                .arg(requester.toString()));
}

void DeviceSimulator::send(
    const QByteArray &datagram, const QHostAddress &to, const QHostAddress &from)
{
    QString error;
    const auto sendOnce = [&] {
#ifdef Q_OS_LINUX
        if (!from.isNull()) {
            const bool sent = sendFrom(socket.socketDescriptor(), datagram, to, from);
            error = sent ? QString() : QString::fromLocal8Bit(std::strerror(errno));
            return sent;
        }
#endif
        // Elsewhere Qt carries the source address in the packet information.
        QNetworkDatagram outgoing(datagram, to, Datagram::DevicePort);
        if (!from.isNull())
            outgoing.setSender(from);
        const bool sent = socket.writeDatagram(outgoing) >= 0;
        error = sent ? QString() : socket.errorString();
        return sent;
    };
    for (int attempt = 1; !sendOnce(); ++attempt) {
        if (attempt == SendAttempts) {
            logLine(QStringLiteral("send to %1 failed: %2").arg(to.toString(), error));
            return;
        }
        QThread::usleep(SendRetryMicroseconds);
    }
}

QVector<int> DeviceSimulator::addressedDevices(
    MacAddress mac, const QHostAddress &destination) const
{
    // Without the destination (or for a broadcast) the MAC alone decides.
    const bool toEveryAddress = destination.isNull() || destination == QHostAddress::Broadcast;
    QVector<int> devices;
    for (int index = 0; index < fleet.size(); ++index) {
        const SimulatedDevice &device = fleet.at(index);
        if (!device.restarting && device.reply.mac == mac.toBytes()
            && (toEveryAddress || QHostAddress(device.record().ip.toUInt32()) == destination))
            devices.append(index);
    }
    return devices;
}

QVector<int> DeviceSimulator::reachedDevices(const QVector<int> &devices, const QString &request)
{
    QVector<int> reached;
    for (int index : devices) {
        if (!loss.drops())
            reached.append(index);
        else
            logLine(QStringLiteral("lost on the way: %1 to %2")
                        .arg(request, deviceText(fleet.at(index))));
    }
    return reached;
}

void DeviceSimulator::handleLeds(const Datagram::Request &request, const QHostAddress &destination)
{
    const QVector<int> devices = addressedDevices(request.targetMac, destination);
    if (devices.isEmpty())
        logLine(QStringLiteral("LED request for %1 ignored: no such device at %2")
                    .arg(request.targetMac.toString(), destination.toString()));
    for (int index : reachedDevices(devices, requestText(request))) {
        if (request.kind == Datagram::Request::LedsFlash)
            keepFlashing(index);
        else
            stopFlashing(index, QStringLiteral("stop request"));
    }
}

void DeviceSimulator::keepFlashing(int index)
{
    QTimer *&hold = flashHolds[index];
    if (!hold) {
        hold = new QTimer(this);
        hold->setSingleShot(true);
        connect(hold, &QTimer::timeout, this, [this, index] {
            stopFlashing(index, QStringLiteral("no flash request for %1 ms").arg(FlashHoldMs));
        });
        logLine(QStringLiteral("LED flashing on: %1").arg(deviceText(fleet.at(index))));
    }
    hold->start(FlashHoldMs);
}

void DeviceSimulator::stopFlashing(int index, const QString &why)
{
    QTimer *hold = flashHolds.take(index);
    if (!hold)
        return;
    // Possibly called from the timer's own timeout.
    hold->deleteLater();
    logLine(QStringLiteral("LED flashing off: %1 (%2)").arg(deviceText(fleet.at(index)), why));
}

void DeviceSimulator::handleModify(
    const Datagram::Request &request, const QHostAddress &destination)
{
    const QVector<int> devices = addressedDevices(request.targetMac, destination);
    if (devices.isEmpty())
        logLine(QStringLiteral("modify request for %1 ignored: no such device at %2")
                    .arg(request.targetMac.toString(), destination.toString()));
    for (int index : reachedDevices(devices, requestText(request))) {
        logLine(QStringLiteral("modify request for %1: new %2; restarting in %3 ms")
                    .arg(deviceText(fleet.at(index)), settingsText(request.modify))
                    .arg(options.restartAfterMs));
        stopFlashing(index, QStringLiteral("restart"));
        if (options.restartAfterMs == 0) {
            restart(index, request.modify);
            continue;
        }
        fleet[index].restarting = true;
        QTimer::singleShot(options.restartAfterMs, this,
            [this, index, settings = request.modify, generation = fleetGeneration] {
                if (generation == fleetGeneration)
                    restart(index, settings);
            });
    }
}

void DeviceSimulator::restart(int index, const Datagram::ModifyFields &settings)
{
    SimulatedDevice &device = fleet[index];
    // The device keeps its name: the program cannot edit it and sends it padded.
    device.reply.mac = settings.mac.toBytes();
    device.reply.network = settings.settings.toBytes();
    device.restarting = false;
    logLine(QStringLiteral("restarted: %1").arg(deviceText(device)));
}
