// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "deviceformat.h"

#include "devicecsv.h"
#include "safetext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <numeric>

namespace {

// The window's column titles, in its column order, then the duplicate flag.
QStringList tableHeaders()
{
    QStringList headers;
    for (int column = 0; column < ColumnCount; ++column)
        headers << DeviceListModel::columnTitle(column);
    return headers << QStringLiteral("Duplicate");
}

QStringList terminalTexts(const QStringList &texts)
{
    QStringList shown;
    for (const QString &text : texts)
        shown << neutralizedText(text);
    return shown;
}

QString formatTable(const DeviceListModel &devices)
{
    QVector<QStringList> rows = { tableHeaders() };
    for (int row = 0; row < devices.rowCount(); ++row)
        rows.append(terminalTexts(deviceRowTexts(devices, row)));

    QVector<int> widths(rows.constFirst().size(), 0);
    for (const QStringList &row : qAsConst(rows)) {
        for (int column = 0; column < row.size(); ++column)
            widths[column] = qMax(widths[column], row.at(column).size());
    }
    QString text;
    for (const QStringList &row : qAsConst(rows)) {
        QString line;
        for (int column = 0; column < row.size(); ++column)
            line += row.at(column).leftJustified(widths[column] + 2);
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        text += line + QLatin1Char('\n');
    }
    return text;
}

QString formatCsv(const DeviceListModel &devices)
{
    QVector<int> rows(devices.rowCount());
    std::iota(rows.begin(), rows.end(), 0);
    return devicesCsv(devices, rows);
}

QString formatJson(const DeviceListModel &devices)
{
    QJsonArray array;
    for (int row = 0; row < devices.rowCount(); ++row) {
        const DeviceRecord &device = devices.record(row);
        array.append(QJsonObject { { QStringLiteral("type"), device.type },
            { QStringLiteral("name"), device.name }, { QStringLiteral("ip"), device.ip },
            { QStringLiteral("mac"), device.mac }, { QStringLiteral("mask"), device.mask },
            { QStringLiteral("gateway"), device.gateway },
            { QStringLiteral("version"), device.version },
            { QStringLiteral("points"), device.points },
            { QStringLiteral("duplicateMac"), devices.isDuplicateMac(row) },
            { QStringLiteral("duplicateIp"), devices.isDuplicateIp(row) } });
    }
    if (array.isEmpty())
        return QStringLiteral("[]\n");
    return jsonWithEscapedHiddenCharacters(
        QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented)));
}

} // namespace

std::optional<OutputFormat> outputFormatFromText(const QString &text)
{
    if (text == QLatin1String("table"))
        return OutputFormat::Table;
    if (text == QLatin1String("csv"))
        return OutputFormat::Csv;
    if (text == QLatin1String("json"))
        return OutputFormat::Json;
    return std::nullopt;
}

QString formatDevices(const DeviceListModel &devices, OutputFormat format)
{
    switch (format) {
    case OutputFormat::Csv:
        return formatCsv(devices);
    case OutputFormat::Json:
        return formatJson(devices);
    case OutputFormat::Table:
        break;
    }
    return formatTable(devices);
}

QString changeText(const DeviceRecord &device, const PlanEntry &target)
{
    return QStringLiteral("%1 \"%2\": IP %3 -> %4, mask %5 -> %6, gateway %7 -> %8")
        .arg(device.mac, neutralizedText(device.name), device.ip, target.ip, device.mask,
            target.mask, device.gateway, target.gateway);
}
