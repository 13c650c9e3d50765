// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "deviceformat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

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

// The window's column headers, in its column order, then the duplicate flag.
const QStringList &tableHeaders()
{
    static const QStringList headers = { QStringLiteral("Device Type"),
        QStringLiteral("Device Name"), QStringLiteral("IP Address"), QStringLiteral("MAC Address"),
        QStringLiteral("Net Mask"), QStringLiteral("Gate Way"), QStringLiteral("Device Version"),
        QStringLiteral("PLC Points"), QStringLiteral("Duplicate") };
    return headers;
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
QString duplicateText(const DeviceRecord &device)
{
    QStringList which;
    if (device.duplicateMac)
        which << QStringLiteral("MAC");
    if (device.duplicateIp)
        which << QStringLiteral("IP");
    return which.join(QLatin1Char('+'));
}

QStringList rowTexts(const DeviceRecord &device)
{
    return { device.type, device.name, device.ip, device.mac, device.mask, device.gateway,
        device.version, device.points, duplicateText(device) };
}

// A device name is whatever bytes a device sent: on a terminal, control
// characters (line breaks, escape sequences) are shown as U+FFFD instead.
QString terminalText(QString text)
{
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    }
    return text;
}

QStringList terminalTexts(const QStringList &texts)
{
    QStringList shown;
    for (const QString &text : texts)
        shown << terminalText(text);
    return shown;
}

QString formatTable(const QVector<DeviceRecord> &devices)
{
    QVector<QStringList> rows = { tableHeaders() };
    for (const DeviceRecord &device : devices)
        rows.append(terminalTexts(rowTexts(device)));

    QVector<int> widths(tableHeaders().size(), 0);
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

QString formatCsv(const QVector<DeviceRecord> &devices)
{
    QString text = csvLine(csvHeaders());
    for (const DeviceRecord &device : devices)
        text += csvLine(rowTexts(device));
    return text;
}

QString formatJson(const QVector<DeviceRecord> &devices)
{
    QJsonArray array;
    for (const DeviceRecord &device : devices) {
        array.append(QJsonObject { { QStringLiteral("type"), device.type },
            { QStringLiteral("name"), device.name }, { QStringLiteral("ip"), device.ip },
            { QStringLiteral("mac"), device.mac }, { QStringLiteral("mask"), device.mask },
            { QStringLiteral("gateway"), device.gateway },
            { QStringLiteral("version"), device.version },
            { QStringLiteral("points"), device.points },
            { QStringLiteral("duplicateMac"), device.duplicateMac },
            { QStringLiteral("duplicateIp"), device.duplicateIp } });
    }
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
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

QString formatDevices(const QVector<DeviceRecord> &devices, OutputFormat format)
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

QString csvLine(const QStringList &fields)
{
    QStringList quoted;
    for (const QString &field : fields)
        quoted << csvField(field);
    return quoted.join(QLatin1Char(',')) + QLatin1Char('\n');
}

QString changeText(const DeviceRecord &device, const PlanEntry &target)
{
    return QStringLiteral("%1 \"%2\": IP %3 -> %4, mask %5 -> %6, gateway %7 -> %8")
        .arg(device.mac, terminalText(device.name), device.ip, target.ip, device.mask, target.mask,
            device.gateway, target.gateway);
}
