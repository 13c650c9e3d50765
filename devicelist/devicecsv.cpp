// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicecsv.h"

#include "devicecomparison.h"
#include "devicelistmodel.h"
#include "safetext.h"

namespace {

const QStringList &csvHeaders()
{
    static const QStringList headers = [] {
        QStringList keys;
        for (int column = 0; column <= PlcPointsColumn; ++column)
            keys << DeviceListModel::columnKey(column);
        keys << QStringLiteral("duplicate");
        for (int column = PlcPointsColumn + 1; column < ColumnCount; ++column)
            keys << DeviceListModel::columnKey(column);
        return keys;
    }();
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

namespace {

// The row's cells in the header's order, the duplicate flag after the points.
QStringList csvTexts(const DeviceRecord &device, const QString &duplicate)
{
    QStringList texts;
    for (int column = 0; column <= PlcPointsColumn; ++column)
        texts << deviceCellText(device, column);
    texts << duplicate;
    for (int column = PlcPointsColumn + 1; column < ColumnCount; ++column)
        texts << deviceCellText(device, column);
    return texts;
}

} // namespace

QStringList deviceRowTexts(const DeviceListModel &devices, int row)
{
    return csvTexts(devices.record(row), duplicateText(devices, row));
}

QString devicesCsv(const DeviceListModel &devices, const QVector<int> &rows)
{
    QString text = csvLine(csvHeaders());
    for (const int row : rows)
        text += csvLine(deviceRowTexts(devices, row));
    return text;
}

QString comparedDevicesCsv(const DeviceListModel &devices, const DeviceComparisonModel &comparison,
    const QVector<int> &rows)
{
    QString text = csvLine(csvHeaders() + QStringList(QStringLiteral("change")));
    for (const int row : rows) {
        const QString change = DeviceComparisonModel::changeText(comparison.change(row), false);
        // A missing device was not heard: nothing to flag as a duplicate.
        const QStringList texts = comparison.isMissing(row)
            ? csvTexts(comparison.record(row), QString())
            : deviceRowTexts(devices, row);
        text += csvLine(texts + QStringList(change));
    }
    return text;
}
