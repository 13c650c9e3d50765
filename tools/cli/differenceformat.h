// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DIFFERENCEFORMAT_H
#define DIFFERENCEFORMAT_H

#include "devicediff.h"

#include <QDateTime>
#include <QString>
#include <QVector>

// The words of `diff` and `scan --compare` (new, missing, changed, duplicate)
// or of `watch` (appeared, gone, changed): fixed, never translated, for scripts.
enum class DifferenceWords { Compare, Watch };

// One difference on one line, without its line break:
//   new 02:4E:58:00:02:01 "Press" 192.0.2.64
//   changed 02:4E:58:00:02:01 "Press": ip 192.0.2.64 -> 192.0.2.90, mask ...
// Texts from a device or a file are neutralised for the terminal.
QString differenceLine(const DeviceDifference &difference, DifferenceWords words);

// Every difference, one a line.
QString differencesText(const QVector<DeviceDifference> &differences);
// Every difference as a JSON array of objects with "change", "mac" and the
// "old" and "new" devices ("fields": what changed; "list" and "entries" for a
// MAC listed twice).
QString differencesJson(const QVector<DeviceDifference> &differences);

// A watch event on one line, after its time in ISO 8601 (UTC, milliseconds):
// text, or one compact JSON object with "time" and "event".
QString watchEventLine(const QDateTime &time, const DeviceDifference &difference, bool json);

#endif // DIFFERENCEFORMAT_H
