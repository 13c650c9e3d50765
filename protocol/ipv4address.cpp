// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "ipv4address.h"

std::optional<Ipv4Address> Ipv4Address::fromBytes(const QByteArray &bytes)
{
    if (bytes.size() != Size)
        return std::nullopt;
    quint32 value = 0;
    for (const char byte : bytes)
        value = (value << 8) | quint8(byte);
    return Ipv4Address(value);
}

std::optional<Ipv4Address> Ipv4Address::fromText(const QString &text)
{
    quint32 value = 0;
    int groups = 0;
    int digits = 0;
    uint group = 0;
    for (int i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        const ushort c = end ? 0 : text.at(i).unicode();
        if (c >= '0' && c <= '9') {
            group = 10 * group + (c - '0');
            if (++digits > 3 || group > 255)
                return std::nullopt;
            continue;
        }
        if ((!end && c != '.') || digits == 0 || ++groups > Size)
            return std::nullopt;
        value = (value << 8) | group;
        digits = 0;
        group = 0;
    }
    if (groups != Size)
        return std::nullopt;
    return Ipv4Address(value);
}

QByteArray Ipv4Address::toBytes() const
{
    QByteArray bytes(Size, Qt::Uninitialized);
    for (int i = 0; i < Size; ++i)
        bytes[i] = char(value >> (8 * (Size - 1 - i)));
    return bytes;
}

QString Ipv4Address::toString() const
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(value >> 24)
        .arg((value >> 16) & 0xFF)
        .arg((value >> 8) & 0xFF)
        .arg(value & 0xFF);
}

QByteArray DeviceSettings::toBytes() const
{
    return ip.toBytes() + mask.toBytes() + gateway.toBytes();
}

std::optional<DeviceSettings> DeviceSettings::fromBytes(const QByteArray &bytes)
{
    if (bytes.size() != 3 * Ipv4Address::Size)
        return std::nullopt;
    return DeviceSettings { *Ipv4Address::fromBytes(bytes.mid(0, 4)),
        *Ipv4Address::fromBytes(bytes.mid(4, 4)), *Ipv4Address::fromBytes(bytes.mid(8, 4)) };
}

std::optional<DeviceSettings> DeviceSettings::fromTexts(
    const QString &ip, const QString &mask, const QString &gateway)
{
    const std::optional<Ipv4Address> ipValue = Ipv4Address::fromText(ip);
    const std::optional<Ipv4Address> maskValue = Ipv4Address::fromText(mask);
    const std::optional<Ipv4Address> gatewayValue = Ipv4Address::fromText(gateway);
    if (!ipValue || !maskValue || !gatewayValue)
        return std::nullopt;
    return DeviceSettings { *ipValue, *maskValue, *gatewayValue };
}
