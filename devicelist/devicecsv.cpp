// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicecsv.h"

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

QStringList deviceRowTexts(const DeviceListModel &devices, int row)
{
    const DeviceRecord &device = devices.record(row);
    QStringList texts;
    for (int column = 0; column <= PlcPointsColumn; ++column)
        texts << deviceCellText(device, column);
    texts << duplicateText(devices, row);
    for (int column = PlcPointsColumn + 1; column < ColumnCount; ++column)
        texts << deviceCellText(device, column);
    return texts;
}

QString devicesCsv(const DeviceListModel &devices, const QVector<int> &rows)
{
    QString text = csvLine(csvHeaders());
    for (const int row : rows)
        text += csvLine(deviceRowTexts(devices, row));
    return text;
}
