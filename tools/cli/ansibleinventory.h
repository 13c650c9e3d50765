// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef ANSIBLEINVENTORY_H
#define ANSIBLEINVENTORY_H

#include "devicerecord.h"

#include <QJsonObject>
#include <QString>
#include <QVector>

// The devices of one scan as an Ansible dynamic inventory ("--list"): one host
// per device, a group per device type (plc, hmi, servo, vfd; a device of an
// unknown type is ungrouped), and every host's variables under _meta.hostvars:
// ansible_host (its IP) and nesdrix_mac, nesdrix_type, nesdrix_name,
// nesdrix_mask, nesdrix_gateway, nesdrix_version and nesdrix_adapter (the
// adapter that heard it, as the device list names it).
//
// A host is named after its device: letters and digits in lower case, every
// run of other characters one "_". A name that several devices would get, or
// that names a group, takes the MAC's digits too ("press_024e58000001"); an
// empty one is the type's ("plc_024e58000001"). The names of one scan are
// always unique: the same device under the same name twice is numbered.
QJsonObject ansibleInventory(const QVector<DeviceRecord> &devices);

// The variables of one host of an inventory made above; empty when it has no
// such host.
QJsonObject ansibleHostVariables(const QJsonObject &inventory, const QString &host);

#endif // ANSIBLEINVENTORY_H
