// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef MACADDRESS_H
#define MACADDRESS_H

#include <QByteArray>
#include <QString>

#include <optional>

// A device's hardware address: parsed once where text or bytes come in, shown
// as "00:1A:2B:3C:4D:5E" wherever it is shown.
class MacAddress
{
public:
    static constexpr int Size = 6;

    constexpr MacAddress() = default;

    // Exactly six bytes, or nothing.
    static std::optional<MacAddress> fromBytes(const QByteArray &bytes);
    // Six pairs of hex digits in either case, separated all by colons, all by
    // dashes or not at all (the forms people copy MACs in), or nothing.
    static std::optional<MacAddress> fromText(const QString &text);

    QByteArray toBytes() const;
    // Upper case, colons.
    QString toString() const;
    constexpr quint64 toUInt64() const { return value; }

    friend constexpr bool operator==(MacAddress a, MacAddress b) { return a.value == b.value; }
    friend constexpr bool operator!=(MacAddress a, MacAddress b) { return a.value != b.value; }
    friend constexpr bool operator<(MacAddress a, MacAddress b) { return a.value < b.value; }

private:
    quint64 value = 0;
};

#endif // MACADDRESS_H
