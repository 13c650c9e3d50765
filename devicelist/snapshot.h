// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef SNAPSHOT_H
#define SNAPSHOT_H

#include "devicerecord.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <optional>

// A device of a saved list, with the line of the file it is written on (0 for
// a device that answered a scan).
struct SnapshotDevice
{
    DeviceRecord record;
    int lineNo = 0;
};

using Snapshot = QVector<SnapshotDevice>;

// Why a saved list was refused: the line (0 for the file as a whole) and the
// reason, translated.
struct SnapshotError
{
    int lineNo = 0;
    QString reason;
};

// A file above this size is no saved list: 30,000 devices take about 5 MB.
inline constexpr qint64 MaxSnapshotBytes = 32 * 1024 * 1024;

// Reads a saved list back: the CSV of Export List and `nesdrix-cli scan --format
// csv`, by its header (every column of today's header, in any order; columns
// added later are passed over), or the JSON of `scan --format json`, a list of
// device objects. A file whose first character is "[" or "{" is JSON. Rows that an
// export made while comparing lists as "missing" are no device of the list.
// A MAC listed twice is kept twice: telling it is the comparison's job.
std::optional<Snapshot> parseSnapshot(const QByteArray &bytes, SnapshotError *error);

// The same from a file; the error's text begins with the file's path.
std::optional<Snapshot> readSnapshotFile(const QString &path, QString *error);

// "FILE: line N: reason", or "FILE: reason" for the file as a whole.
QString snapshotErrorText(const QString &path, const SnapshotError &error);

// The devices of a scan, as a list to compare.
Snapshot snapshotOfScan(const QVector<DeviceRecord> &devices);

#endif // SNAPSHOT_H
