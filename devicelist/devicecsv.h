// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DEVICECSV_H
#define DEVICECSV_H

#include <QString>
#include <QStringList>
#include <QVector>

class DeviceListModel;

// One CSV line ending in a line break; a field is quoted when it holds a comma,
// a quote or a line break.
QString csvLine(const QStringList &fields);

// The listed row's texts in column order, then its duplicate flag: "MAC", "IP",
// "MAC+IP" or empty.
QStringList deviceRowTexts(const DeviceListModel &devices, int row);

// The listed rows as CSV: a header line, then one line a row in the order given.
// The command-line tool's scan output and the window's export both write it.
QString devicesCsv(const DeviceListModel &devices, const QVector<int> &rows);

#endif // DEVICECSV_H
