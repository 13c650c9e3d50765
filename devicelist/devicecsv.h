// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DEVICECSV_H
#define DEVICECSV_H

#include <QString>
#include <QStringList>
#include <QVector>

class DeviceComparisonModel;
class DeviceListModel;
struct DeviceRecord;

// The listed row's texts in column order up to the points, then its duplicate
// flag ("MAC", "IP", "MAC+IP" or empty), then the columns added later (the
// adapter). The record's texts are bounded, so no cell grows with what a reply
// carries.
QStringList deviceRowTexts(const DeviceListModel &devices, int row);

// The listed rows as CSV (csvLine: neutralised cells): a header line, then one
// line a row in the order given. The command-line tool's scan output and the
// window's export both write it.
QString devicesCsv(const DeviceListModel &devices, const QVector<int> &rows);

// The same while comparing with a saved list: the rows are the comparison's,
// missing devices too, and a last column "change" says new, changed or missing
// (untranslated, as `nesdrix-cli diff` writes them). A list read back leaves
// the missing rows out.
QString comparedDevicesCsv(const DeviceListModel &devices, const DeviceComparisonModel &comparison,
    const QVector<int> &rows);

#endif // DEVICECSV_H
