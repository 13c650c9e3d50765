// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "deviceformat.h"

#include "safetext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace {

// The window's column titles, in its column order, then the duplicate flag.
QStringList tableHeaders()
{
    QStringList headers;
    for (int column = 0; column < ColumnCount; ++column)
        headers << DeviceListModel::columnTitle(column);
    return headers << QStringLiteral("Duplicate");
}

const QStringList &csvHeaders()
{
    static const QStringList headers
        = { QStringLiteral("type"), QStringLiteral("name"), QStringLiteral("ip"),
              QStringLiteral("mac"), QStringLiteral("mask"), QStringLiteral("gateway"),
              QStringLiteral("version"), QStringLiteral("points"), QStringLiteral("duplicate") };
    return headers;
}

// "MAC", "IP", "MAC+IP" or empty.
QString duplicateText(const DeviceListModel &devices, int row)
{
    QStringList which;
    if (devices.isDuplicateMac(row))
        which << QStringLiteral("MAC");
    if (devices.isDuplicateIp(row))
        which << QStringLiteral("IP");
    return which.join(QLatin1Char('+'));
}

// The record's texts are bounded, so no cell, and no column of the table, grows
// with what a reply carries.
QStringList rowTexts(const DeviceListModel &devices, int row)
{
    const DeviceRecord &device = devices.record(row);
    return { device.type, device.name, device.ip, device.mac, device.mask, device.gateway,
        device.version, device.points, duplicateText(devices, row) };
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
        rows.append(terminalTexts(rowTexts(devices, row)));

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
    QString text = csvLine(csvHeaders());
    for (int row = 0; row < devices.rowCount(); ++row)
        text += csvLine(rowTexts(devices, row));
    return text;
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
