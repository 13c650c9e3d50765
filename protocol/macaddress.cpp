// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "macaddress.h"

namespace {

int hexDigitValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    return -1;
}

} // namespace

std::optional<MacAddress> MacAddress::fromBytes(const QByteArray &bytes)
{
    if (bytes.size() != Size)
        return std::nullopt;
    MacAddress mac;
    for (const char byte : bytes)
        mac.value = (mac.value << 8) | quint8(byte);
    return mac;
}

std::optional<MacAddress> MacAddress::fromText(const QString &text)
{
    // 12 digits, with 5 separators or none.
    const bool separated = text.size() == 3 * Size - 1;
    if (!separated && text.size() != 2 * Size)
        return std::nullopt;
    const QChar separator = separated ? text.at(2) : QChar();
    if (separated && separator != QLatin1Char(':') && separator != QLatin1Char('-'))
        return std::nullopt;
    const int step = separated ? 3 : 2;
    MacAddress mac;
    for (int i = 0; i < Size; ++i) {
        const int at = i * step;
        if (separated && i > 0 && text.at(at - 1) != separator)
            return std::nullopt;
        const int high = hexDigitValue(text.at(at));
        const int low = hexDigitValue(text.at(at + 1));
        if (high < 0 || low < 0)
            return std::nullopt;
        mac.value = (mac.value << 8) | quint64(16 * high + low);
    }
    return mac;
}

QByteArray MacAddress::toBytes() const
{
    QByteArray bytes(Size, Qt::Uninitialized);
    for (int i = 0; i < Size; ++i)
        bytes[i] = char(value >> (8 * (Size - 1 - i)));
    return bytes;
}

QString MacAddress::toString() const
{
    return QString::fromLatin1(toBytes().toHex(':').toUpper());
}
