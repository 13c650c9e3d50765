// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicetext.h"

#include <QCoreApplication>
#include <QRegularExpression>

void dottedDecimalText(QString &text, const QByteArray &bytes)
{
    for (int i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('.');
        text += QString::number(quint8(bytes.at(i)));
    }
}

void bytesToMacText(QString &text, const QByteArray &bytes)
{
    text += QString::fromLatin1(bytes.toHex(':').toUpper());
}

QString deviceNameFromBytes(const QByteArray &bytes)
{
    const int end = bytes.indexOf('\0');
    return QString::fromUtf8(end < 0 ? bytes : bytes.left(end));
}

bool isAddressText(const QString &text)
{
    // Anchored on the whole text: "$" alone would also let a trailing newline pass.
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(QStringLiteral(
        "^((2[0-4]\\d|25[0-5]|[01]?\\d\\d?)\\.){3}(2[0-4]\\d|25[0-5]|[01]?\\d\\d?)$")));
    return pattern.match(text).hasMatch();
}

bool isMacText(const QString &text)
{
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9A-Fa-f]{2}(:[0-9A-Fa-f]{2}){5}")));
    return pattern.match(text).hasMatch();
}

QString settingsErrorText(
    const QString &ip, const QString &netMask, const QString &gateWay, const QString &mac)
{
    if (!isAddressText(ip))
        return QCoreApplication::translate("QObject", "IP Address Error!");
    if (!isAddressText(netMask))
        return QCoreApplication::translate("QObject", "Net Mask Error!");
    if (!isAddressText(gateWay))
        return QCoreApplication::translate("QObject", "Gate Way Error!");
    if (!isMacText(mac))
        return QCoreApplication::translate("QObject", "MAC Address Error!");
    return {};
}

QString bindFailureText(const QString &reason)
{
    // Kept in the main window's translation context, where the catalogue has it.
    return QCoreApplication::translate("MainWindow",
        "UDP port 102 could not be opened: %1\n\n"
        "Replies from devices cannot be received until it can. Close any other program "
        "that uses UDP port 102, or give Nesdrix the privilege to bind it (on Linux: "
        "sudo setcap cap_net_bind_service=+ep on the program file), then start Nesdrix "
        "again.")
        .arg(reason);
}
