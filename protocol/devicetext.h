// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DEVICETEXT_H
#define DEVICETEXT_H

#include <QByteArray>
#include <QString>

// The texts a device is shown and edited with, shared by the window and the
// command-line tool.

// Appends each byte as an unsigned decimal number, the numbers joined by ".".
void dottedDecimalText(QString &text, const QByteArray &bytes);
// Appends each byte as two upper-case hex digits, the pairs joined by ":".
void bytesToMacText(QString &text, const QByteArray &bytes);

// A reply's name bytes: UTF-8 up to the first zero byte.
QString deviceNameFromBytes(const QByteArray &bytes);

// Four dot-separated decimal groups of 0-255, leading zeros allowed, nothing else.
bool isAddressText(const QString &text);
// Six colon-separated pairs of hex digits in either case, nothing else.
bool isMacText(const QString &text);

// Checks new settings in the order the device dialog does and returns the
// first failure's message, translated, or an empty text when all pass.
QString settingsErrorText(
    const QString &ip, const QString &netMask, const QString &gateWay, const QString &mac);

// The warning for a port 102 that could not be bound, with the system's reason
// and the advice on how to get the port, translated.
QString bindFailureText(const QString &reason);

#endif // DEVICETEXT_H
