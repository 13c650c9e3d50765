// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DEVICESIMULATOR_H
#define DEVICESIMULATOR_H

#include "fleet.h"

#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QRandomGenerator>
#include <QUdpSocket>

class QTimer;

struct SimulatorOptions
{
    int maxDelayMs = 0;
    int restartAfterMs = 0;
    bool sendMalformed = false;
    // The share of datagrams lost, each on its own, on the way to a device and back.
    double lossPercent = 0;
    quint32 seed = 1;
    // Each reply is sent twice, as a loop or a relay on a plant network delivers it.
    bool echo = false;
    // The devices leave this many scan requests unanswered first, as devices
    // still starting up do.
    int missedScans = 0;
};

// Decides, datagram by datagram, which ones a lossy network drops. The same
// seed gives the same losses, so that a run can be repeated.
class DatagramLoss
{
public:
    DatagramLoss(double percent, quint32 seed);
    bool drops();

private:
    double share;
    QRandomGenerator random;
};

// Plays a fleet on UDP port 102: answers scans, flashes LEDs and takes new
// settings, and says what it does in plain lines on standard output.
class DeviceSimulator : public QObject
{
    Q_OBJECT

public:
    // A device stops flashing when no flash request came for this long.
    static constexpr int FlashHoldMs = 1500;

    DeviceSimulator(const Fleet &fleet, const SimulatorOptions &options, QObject *parent = nullptr);

    bool bind(QString *error);
    // Plays another fleet from now on. Replies, restarts and flashing of the
    // fleet before are dropped.
    void playFleet(const Fleet &nextFleet);

private:
    void readRequests();
    void answerScan(quint32 sequenceNo, const QHostAddress &requester);
    // Returns how many copies of the reply were lost on the way.
    int sendScanReply(int index, quint32 sequenceNo, const QHostAddress &requester);
    void sendMalformedReplies(const QHostAddress &requester);
    // From the system's choice of address when from is null.
    void send(const QByteArray &datagram, const QHostAddress &to, const QHostAddress &from = {});
    QHostAddress ownAddressOf(const SimulatedDevice &device);
    void handleLeds(const Datagram::Request &request, const QHostAddress &destination);
    void handleModify(const Datagram::Request &request, const QHostAddress &destination);
    // The devices a request reaches: those with its target MAC that the
    // datagram was addressed to.
    QVector<int> addressedDevices(MacAddress mac, const QHostAddress &destination) const;
    // Those of the devices that the lossy network lets the request reach.
    QVector<int> reachedDevices(const QVector<int> &devices, const QString &request);
    void keepFlashing(int index);
    void stopFlashing(int index, const QString &why);
    void restart(int index, const Datagram::ModifyFields &settings);

    Fleet fleet;
    // Counts playFleet() calls: what was pending for an earlier fleet is dropped.
    int fleetGeneration = 0;
    SimulatorOptions options;
    QUdpSocket socket;
    DatagramLoss loss;
    int scanRequestsHeard = 0;
    QHash<int, QTimer *> flashHolds;
    // Whether each device IP seen so far is local on this side, so a reply can come from it.
    QHash<quint32, bool> localAddresses;
};

#endif // DEVICESIMULATOR_H
