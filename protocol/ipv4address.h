// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef IPV4ADDRESS_H
#define IPV4ADDRESS_H

#include <QByteArray>
#include <QString>

#include <optional>

// An IPv4 address, net mask or gateway: parsed once where text or bytes come
// in, shown in dotted decimal wherever it is shown.
class Ipv4Address
{
public:
    static constexpr int Size = 4;

    constexpr Ipv4Address() = default;
    constexpr explicit Ipv4Address(quint32 value)
        : value(value)
    { }

    // Exactly four bytes, in network order, or nothing.
    static std::optional<Ipv4Address> fromBytes(const QByteArray &bytes);
    // Four dot-separated decimal groups of 0-255 (leading zeros allowed, ASCII
    // digits only, nothing around them), or nothing.
    static std::optional<Ipv4Address> fromText(const QString &text);

    QByteArray toBytes() const;
    // "192.168.1.10": no leading zeros.
    QString toString() const;
    constexpr quint32 toUInt32() const { return value; }

    friend constexpr bool operator==(Ipv4Address a, Ipv4Address b) { return a.value == b.value; }
    friend constexpr bool operator!=(Ipv4Address a, Ipv4Address b) { return a.value != b.value; }
    friend constexpr bool operator<(Ipv4Address a, Ipv4Address b) { return a.value < b.value; }

private:
    quint32 value = 0;
};

// A device's network settings, as a modify request writes them and a scan
// reply reports them.
struct DeviceSettings
{
    Ipv4Address ip;
    Ipv4Address mask;
    Ipv4Address gateway;

    // The 12 bytes of a network item: address, mask, gateway.
    QByteArray toBytes() const;
    // Exactly 12 bytes, or nothing.
    static std::optional<DeviceSettings> fromBytes(const QByteArray &bytes);
    // The three texts, each parsed as an address, or nothing if any is none.
    static std::optional<DeviceSettings> fromTexts(
        const QString &ip, const QString &mask, const QString &gateway);

    friend bool operator==(const DeviceSettings &a, const DeviceSettings &b)
    {
        return a.ip == b.ip && a.mask == b.mask && a.gateway == b.gateway;
    }
    friend bool operator!=(const DeviceSettings &a, const DeviceSettings &b) { return !(a == b); }
};

#endif // IPV4ADDRESS_H
