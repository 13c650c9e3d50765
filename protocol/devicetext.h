// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DEVICETEXT_H
#define DEVICETEXT_H

#include <QByteArray>
#include <QString>

#include <optional>

// The texts a device is shown and edited with, shared by the window and the
// command-line tool.

// Appends each byte as an unsigned decimal number, the numbers joined by ".".
void dottedDecimalText(QString &text, const QByteArray &bytes);

// A reply's name bytes: UTF-8 up to the first zero byte.
QString deviceNameFromBytes(const QByteArray &bytes);

// The first rule that new settings break, in the order the device dialog
// checks them: the field it concerns and the rule in words.
struct SettingsFault
{
    enum Field { Ip, NetMask, GateWay, Mac };
    Field field = Ip;
    QString rule;
};

// Settings that would leave a device unreachable after its restart are refused:
// a net mask that is 0.0.0.0 or whose one-bits are not contiguous; an IP address
// that is 0.0.0.0, 255.255.255.255, loopback, multicast or reserved, or the
// network or broadcast address of its subnet; a gateway (other than 0.0.0.0, no
// gateway) outside the subnet or equal to the IP address.
std::optional<SettingsFault> settingsFault(
    const QString &ip, const QString &netMask, const QString &gateWay, const QString &mac);

// The device dialog's message for the field, translated.
QString settingsFieldErrorText(SettingsFault::Field field);

// The warning for a port 102 that could not be bound, with the system's reason
// and the advice on how to get the port, translated.
QString bindFailureText(const QString &reason);

#endif // DEVICETEXT_H
