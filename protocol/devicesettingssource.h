// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DEVICESETTINGSSOURCE_H
#define DEVICESETTINGSSOURCE_H

#include "datagramcodec.h"

#include <QString>

// What a modify request is made of: the MAC the device was discovered with and
// the settings to write. The device dialog provides them in the window; the
// command-line tool provides them from its arguments.
class DeviceSettingsSource
{
public:
    virtual ~DeviceSettingsSource() = default;

    virtual QString tableMacText() const = 0;
    virtual QString macText() const = 0;
    virtual QString deviceNameText() const = 0;
    // The request's 16 name bytes. A source that has the bytes the device
    // reported gives those, so that a name in any encoding is kept exactly.
    virtual QByteArray nameField() const { return Datagram::nameFieldBytes(deviceNameText()); }
    virtual QString ipText() const = 0;
    virtual QString netMaskText() const = 0;
    virtual QString gateWayText() const = 0;
};

#endif // DEVICESETTINGSSOURCE_H
