// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DEVSIM_FLEET_H
#define DEVSIM_FLEET_H

#include "datagramcodec.h"
#include "devicerecord.h"

#include <QString>
#include <QVector>

// One simulated device: what it answers a scan with, and what it is doing.
struct SimulatedDevice
{
    Datagram::ScanReply reply;
    // A device restarting after a modify request answers nothing.
    bool restarting = false;

    DeviceRecord record() const { return deviceRecordFromReply(reply); }
};

using Fleet = QVector<SimulatedDevice>;

// How a fleet file is written, for --help.
extern const char FleetFileHelp[];

// Reads a fleet file. On a fault, *error names the line and what is wrong with it.
bool loadFleetFile(const QString &path, Fleet *fleet, QString *error);

// One device line of a fleet file; on a fault, *error says what is wrong.
bool parseDeviceLine(const QString &line, SimulatedDevice *device, QString *error);

// count devices of all four types, with unique locally administered MACs and
// addresses from 192.0.2.64 to 192.0.2.127, taken in turn.
Fleet generatedFleet(int count);

#endif // DEVSIM_FLEET_H
