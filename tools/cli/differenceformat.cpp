// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "differenceformat.h"

#include "deviceformat.h"
#include "safetext.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace {

QString kindWord(DeviceDifference::Kind kind, DifferenceWords words)
{
    const bool watch = words == DifferenceWords::Watch;
    switch (kind) {
    case DeviceDifference::New:
        return watch ? QStringLiteral("appeared") : QStringLiteral("new");
    case DeviceDifference::Missing:
        return watch ? QStringLiteral("gone") : QStringLiteral("missing");
    case DeviceDifference::Changed:
        return QStringLiteral("changed");
    case DeviceDifference::Duplicate:
        break;
    }
    return QStringLiteral("duplicate");
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + neutralizedText(text) + QLatin1Char('"');
}

// An address as it is; any other field quoted, so that spaces and empty texts show.
QString valueText(const DeviceRecord &device, DeviceField field)
{
    const QString text = deviceFieldText(device, field);
    const bool address
        = field == DeviceField::Ip || field == DeviceField::Mask || field == DeviceField::Gateway;
    return address ? neutralizedText(text) : quoted(text);
}

QString deviceSummary(const DeviceRecord &device)
{
    return QStringLiteral("%1 %2").arg(quoted(device.name()), device.ip.toString());
}

QJsonObject entryObject(const SnapshotDevice &entry)
{
    QJsonObject object = deviceJsonObject(entry.record);
    if (entry.lineNo > 0)
        object.insert(QStringLiteral("line"), entry.lineNo);
    return object;
}

QJsonObject differenceObject(const DeviceDifference &difference, DifferenceWords words)
{
    const QString kindKey
        = words == DifferenceWords::Watch ? QStringLiteral("event") : QStringLiteral("change");
    QJsonObject object { { kindKey, kindWord(difference.kind, words) },
        { QStringLiteral("mac"), difference.mac } };
    switch (difference.kind) {
    case DeviceDifference::New:
        object.insert(QStringLiteral("new"), entryObject(difference.device));
        break;
    case DeviceDifference::Missing:
        object.insert(QStringLiteral("old"), entryObject(difference.device));
        break;
    case DeviceDifference::Changed: {
        QJsonArray fields;
        for (const DeviceField field : difference.changedFields)
            fields.append(deviceFieldKey(field));
        object.insert(QStringLiteral("fields"), fields);
        object.insert(QStringLiteral("old"), entryObject(difference.before));
        object.insert(QStringLiteral("new"), entryObject(difference.device));
        break;
    }
    case DeviceDifference::Duplicate: {
        QJsonArray entries;
        for (const SnapshotDevice &entry : difference.entries)
            entries.append(entryObject(entry));
        object.insert(QStringLiteral("list"),
            difference.inOldList ? QStringLiteral("old") : QStringLiteral("new"));
        object.insert(QStringLiteral("entries"), entries);
        break;
    }
    }
    return object;
}

QString jsonText(const QJsonDocument &document, QJsonDocument::JsonFormat format)
{
    return jsonWithEscapedHiddenCharacters(QString::fromUtf8(document.toJson(format)));
}

} // namespace

QString differenceLine(const DeviceDifference &difference, DifferenceWords words)
{
    const QString start = kindWord(difference.kind, words) + QLatin1Char(' ') + difference.mac;
    const DeviceRecord &device = difference.device.record;
    switch (difference.kind) {
    case DeviceDifference::New:
    case DeviceDifference::Missing:
        return start + QLatin1Char(' ') + deviceSummary(device);
    case DeviceDifference::Changed: {
        QStringList changes;
        for (const DeviceField field : difference.changedFields)
            changes << QStringLiteral("%1 %2 -> %3")
                           .arg(deviceFieldKey(field), valueText(difference.before.record, field),
                               valueText(device, field));
        return QStringLiteral("%1 %2: %3")
            .arg(start, quoted(device.name()), changes.join(QStringLiteral(", ")));
    }
    case DeviceDifference::Duplicate:
        break;
    }
    QStringList entries;
    for (const SnapshotDevice &entry : difference.entries)
        entries << (entry.lineNo > 0
                ? QStringLiteral("%1 (line %2)").arg(deviceSummary(entry.record)).arg(entry.lineNo)
                : deviceSummary(entry.record));
    return QStringLiteral("%1 listed %2 times in the %3 list: %4")
        .arg(start)
        .arg(difference.entries.size())
        .arg(difference.inOldList ? QStringLiteral("old") : QStringLiteral("new"),
            entries.join(QStringLiteral(", ")));
}

QString differencesText(const QVector<DeviceDifference> &differences)
{
    QString text;
    for (const DeviceDifference &difference : differences)
        text += differenceLine(difference, DifferenceWords::Compare) + QLatin1Char('\n');
    return text;
}

QString differencesJson(const QVector<DeviceDifference> &differences)
{
    QJsonArray array;
    for (const DeviceDifference &difference : differences)
        array.append(differenceObject(difference, DifferenceWords::Compare));
    return jsonText(QJsonDocument(array), QJsonDocument::Indented);
}

QString watchEventLine(const QDateTime &time, const DeviceDifference &difference, bool json)
{
    const QString timeText = time.toUTC().toString(Qt::ISODateWithMs);
    if (!json)
        return timeText + QLatin1Char(' ') + differenceLine(difference, DifferenceWords::Watch);
    // The time first, where a reader of the log looks for it; a JSON object
    // otherwise keeps its keys in alphabetical order.
    const QString event
        = jsonText(QJsonDocument(differenceObject(difference, DifferenceWords::Watch)),
            QJsonDocument::Compact);
    return QStringLiteral("{\"time\":\"%1\",").arg(timeText) + event.mid(1);
}
