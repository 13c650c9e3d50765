// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicetext.h"

#include "ipv4address.h"
#include "macaddress.h"

#include <QCoreApplication>

void dottedDecimalText(QString &text, const QByteArray &bytes)
{
    for (int i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('.');
        text += QString::number(quint8(bytes.at(i)));
    }
}

QString deviceNameFromBytes(const QByteArray &bytes)
{
    const int end = bytes.indexOf('\0');
    return QString::fromUtf8(end < 0 ? bytes : bytes.left(end));
}

namespace {

QString ipAddressRule(quint32 ip)
{
    if (ip == 0)
        return QStringLiteral("0.0.0.0 is no device's address");
    if (ip == 0xFFFFFFFF)
        return QStringLiteral("255.255.255.255 is the broadcast address");
    if (ip >> 24 == 127)
        return QStringLiteral("127.x.x.x is the loopback network");
    if (ip >> 29 == 7)
        return QStringLiteral("224.0.0.0 and above are multicast or reserved");
    return {};
}

QString netMaskRule(quint32 mask)
{
    if (mask == 0)
        return QStringLiteral("0.0.0.0 is no net mask");
    // The one-bits are contiguous when the zero-bits after them make one run up to bit 0.
    const quint32 hostBits = ~mask;
    if ((hostBits & (hostBits + 1)) != 0)
        return QStringLiteral("the net mask's one-bits are not contiguous");
    return {};
}

QString subnetRule(quint32 ip, quint32 mask)
{
    // A /31 or /32 subnet has no network and no broadcast address.
    if (~mask <= 1)
        return {};
    if ((ip & ~mask) == 0)
        return QStringLiteral("the IP address is the network address of its subnet");
    if ((ip & ~mask) == ~mask)
        return QStringLiteral("the IP address is the broadcast address of its subnet");
    return {};
}

QString gateWayRule(quint32 gateWay, quint32 ip, quint32 mask)
{
    if (gateWay == 0)
        return {};
    if ((gateWay & mask) != (ip & mask))
        return QStringLiteral("the gateway lies outside the new subnet");
    if (gateWay == ip)
        return QStringLiteral("the gateway equals the new IP address");
    return {};
}

const QString NotAnAddress = QStringLiteral("not four numbers of 0-255 separated by dots");

} // namespace

std::optional<SettingsFault> settingsFault(
    const QString &ip, const QString &netMask, const QString &gateWay, const QString &mac)
{
    const std::optional<Ipv4Address> ipAddress = Ipv4Address::fromText(ip);
    if (!ipAddress)
        return SettingsFault { SettingsFault::Ip, NotAnAddress };
    const quint32 ipValue = ipAddress->toUInt32();
    if (const QString rule = ipAddressRule(ipValue); !rule.isEmpty())
        return SettingsFault { SettingsFault::Ip, rule };
    const std::optional<Ipv4Address> mask = Ipv4Address::fromText(netMask);
    if (!mask)
        return SettingsFault { SettingsFault::NetMask, NotAnAddress };
    const quint32 maskValue = mask->toUInt32();
    if (const QString rule = netMaskRule(maskValue); !rule.isEmpty())
        return SettingsFault { SettingsFault::NetMask, rule };
    if (const QString rule = subnetRule(ipValue, maskValue); !rule.isEmpty())
        return SettingsFault { SettingsFault::Ip, rule };
    const std::optional<Ipv4Address> gateway = Ipv4Address::fromText(gateWay);
    if (!gateway)
        return SettingsFault { SettingsFault::GateWay, NotAnAddress };
    if (const QString rule = gateWayRule(gateway->toUInt32(), ipValue, maskValue); !rule.isEmpty())
        return SettingsFault { SettingsFault::GateWay, rule };
    if (!MacAddress::fromText(mac))
        return SettingsFault { SettingsFault::Mac,
            QStringLiteral("not six pairs of hex digits separated by colons") };
    return std::nullopt;
}

QString settingsFieldErrorText(SettingsFault::Field field)
{
    switch (field) {
    case SettingsFault::Ip:
        return QCoreApplication::translate("QObject", "IP Address Error!");
    case SettingsFault::NetMask:
        return QCoreApplication::translate("QObject", "Net Mask Error!");
    case SettingsFault::GateWay:
        return QCoreApplication::translate("QObject", "Gate Way Error!");
    case SettingsFault::Mac:
        break;
    }
    return QCoreApplication::translate("QObject", "MAC Address Error!");
}

QString bindFailureText(const QString &reason)
{
    // Kept in the main window's translation context, where the catalogue has it.
    return QCoreApplication::translate("MainWindow",
        "UDP port 102 could not be opened: %1\n\n"
        "Replies from devices cannot be received until it can. If another program, or "
        "another Nesdrix, uses UDP port 102, close it. On Linux only Nesdrix's launcher "
        "may bind the port: start Nesdrix with the nesdrix command of the package. Built "
        "from source, give the launcher the privilege (sudo setcap "
        "cap_net_bind_service=ep nesdrix-launcher). Then start Nesdrix again.")
        .arg(reason);
}
