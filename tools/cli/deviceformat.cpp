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

// The window's column titles in the order of deviceRowTexts(): the duplicate
// flag after the points.
QStringList tableHeaders()
{
    QStringList headers;
    for (int column = 0; column <= PlcPointsColumn; ++column)
        headers << DeviceListModel::columnTitle(column);
    headers << QStringLiteral("Duplicate");
    for (int column = PlcPointsColumn + 1; column < ColumnCount; ++column)
        headers << DeviceListModel::columnTitle(column);
    return headers;
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
            widths[column] = qMax(widths[column], terminalWidth(row.at(column)));
    }
    QString text;
    for (const QStringList &row : qAsConst(rows)) {
        QString line;
        // Padded by the columns a terminal shows, not by characters: a Chinese
        // character takes two.
        for (int column = 0; column < row.size(); ++column)
            line += row.at(column)
                + QString(widths[column] + 2 - terminalWidth(row.at(column)), QLatin1Char(' '));
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
        QJsonObject object = deviceJsonObject(devices.record(row));
        object.insert(QStringLiteral("duplicateMac"), devices.isDuplicateMac(row));
        object.insert(QStringLiteral("duplicateIp"), devices.isDuplicateIp(row));
        object.insert(QStringLiteral("adapter"), adapterName(devices.record(row).interfaceIndex));
        array.append(object);
    }
    if (array.isEmpty())
        return QStringLiteral("[]\n");
    return jsonWithEscapedHiddenCharacters(
        QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented)));
}

} // namespace

QJsonObject deviceJsonObject(const DeviceRecord &device)
{
    return { { QStringLiteral("type"), device.typeText() },
        { QStringLiteral("name"), device.name() }, { QStringLiteral("ip"), device.ip.toString() },
        { QStringLiteral("mac"), device.mac.toString() },
        { QStringLiteral("mask"), device.mask.toString() },
        { QStringLiteral("gateway"), device.gateway.toString() },
        { QStringLiteral("version"), device.version },
        { QStringLiteral("points"), device.points } };
}

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
    // Only what changes is shown as a change; the rest is named as kept.
    const struct
    {
        const char *name;
        Ipv4Address reported;
        Ipv4Address wanted;
    } fields[] = { { "IP", device.ip, target.settings.ip },
        { "mask", device.mask, target.settings.mask },
        { "gateway", device.gateway, target.settings.gateway } };
    QStringList changes;
    QStringList kept;
    for (const auto &field : fields) {
        const QString name = QLatin1String(field.name);
        if (field.reported == field.wanted)
            kept << QStringLiteral("%1 %2").arg(name, field.wanted.toString());
        else
            changes << QStringLiteral("%1 %2 -> %3")
                           .arg(name, field.reported.toString(), field.wanted.toString());
    }
    QString text = QStringLiteral("%1 \"%2\": ")
                       .arg(device.mac.toString(), neutralizedText(device.name()));
    if (changes.isEmpty())
        return text + QStringLiteral("no change (%1)").arg(kept.join(QStringLiteral(", ")));
    text += changes.join(QStringLiteral(", "));
    if (!kept.isEmpty())
        text += QStringLiteral(" (%1 unchanged)").arg(kept.join(QStringLiteral(", ")));
    return text;
}

bool changesSettings(const DeviceRecord &device, const PlanEntry &target)
{
    return device.settings() != target.settings;
}

QString countText(int count, const char *singular, const char *plural)
{
    return QStringLiteral("%1 %2").arg(count).arg(
        QLatin1String(count == 1 ? singular : plural));
}
