// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DEVICEFORMAT_H
#define DEVICEFORMAT_H

#include "devicelistmodel.h"
#include "plan.h"

#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

enum class OutputFormat { Table, Csv, Json };

// "table", "csv" or "json"; anything else gives nothing.
std::optional<OutputFormat> outputFormatFromText(const QString &text);

// The scan result as text, one device a line in the table and CSV forms. The
// table and CSV show hidden characters as a placeholder (see safetext.h); JSON
// keeps every text exact. Version and points texts are bounded in all three.
QString formatDevices(const DeviceListModel &devices, OutputFormat format);

// A device's texts under the keys of the JSON forms: exact, hidden characters
// and all (see jsonWithEscapedHiddenCharacters).
QJsonObject deviceJsonObject(const DeviceRecord &device);

// The device's old settings against the planned ones, on one line: the
// settings that change as "old -> new", the others as kept.
QString changeText(const DeviceRecord &device, const PlanEntry &target);
// Whether the target differs from what the device reported in IP, mask or gateway.
bool changesSettings(const DeviceRecord &device, const PlanEntry &target);

// "1 device", "2 devices".
QString countText(int count, const char *singular, const char *plural);

#endif // DEVICEFORMAT_H
