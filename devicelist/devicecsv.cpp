// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicecsv.h"

#include "devicelistmodel.h"

#include <algorithm>

namespace {

QString csvField(const QString &text)
{
    static const QString special = QStringLiteral(",\"\r\n");
    const bool needsQuotes
        = std::any_of(text.cbegin(), text.cend(), [](QChar c) { return special.contains(c); });
    if (!needsQuotes)
        return text;
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

const QStringList &csvHeaders()
{
    static const QStringList headers
        = { QStringLiteral("type"), QStringLiteral("name"), QStringLiteral("ip"),
              QStringLiteral("mac"), QStringLiteral("mask"), QStringLiteral("gateway"),
              QStringLiteral("version"), QStringLiteral("points"), QStringLiteral("duplicate") };
    return headers;
}

QString duplicateText(const DeviceListModel &devices, int row)
{
    QStringList which;
    if (devices.isDuplicateMac(row))
        which << QStringLiteral("MAC");
    if (devices.isDuplicateIp(row))
        which << QStringLiteral("IP");
    return which.join(QLatin1Char('+'));
}

} // namespace

QString csvLine(const QStringList &fields)
{
    QStringList quoted;
    for (const QString &field : fields)
        quoted << csvField(field);
    return quoted.join(QLatin1Char(',')) + QLatin1Char('\n');
}

QStringList deviceRowTexts(const DeviceListModel &devices, int row)
{
    const DeviceRecord &device = devices.record(row);
    return { device.type, device.name, device.ip, device.mac, device.mask, device.gateway,
        device.version, device.points, duplicateText(devices, row) };
}

QString devicesCsv(const DeviceListModel &devices, const QVector<int> &rows)
{
    QString text = csvLine(csvHeaders());
    for (const int row : rows)
        text += csvLine(deviceRowTexts(devices, row));
    return text;
}
