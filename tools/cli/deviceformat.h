// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DEVICEFORMAT_H
#define DEVICEFORMAT_H

#include "devicerecord.h"
#include "plan.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

enum class OutputFormat { Table, Csv, Json };

// "table", "csv" or "json"; anything else gives nothing.
std::optional<OutputFormat> outputFormatFromText(const QString &text);

// The scan result as text, one device a line in the table and CSV forms.
QString formatDevices(const QVector<DeviceRecord> &devices, OutputFormat format);

// The device's old settings against the planned ones, on one line.
QString changeText(const DeviceRecord &device, const PlanEntry &target);

// One CSV line ending in a line break; a field is quoted when it holds a comma,
// a quote or a line break.
QString csvLine(const QStringList &fields);

#endif // DEVICEFORMAT_H
