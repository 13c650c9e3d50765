// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef AUDITLOG_H
#define AUDITLOG_H

#include "devicerecord.h"
#include "plan.h"

#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>

// One line of the audit log: a write, or what a later scan showed of it.
struct AuditEntry
{
    QDateTime time;
    QString host;
    QString mac;
    QString oldIp;
    QString oldMask;
    QString oldGateway;
    QString newIp;
    QString newMask;
    QString newGateway;
    QString outcome;
    // What the check of the new IP before the write found; empty on other lines.
    QString addressCheck;
};

// The columns of a new log, in their order.
QStringList auditColumns();
// The column names, written once at the top of a new log.
QString auditHeaderLine();
// The entry as one CSV line holding the given columns in their order; a column
// this version does not know stays empty. The time in UTC, ISO 8601 with
// milliseconds.
QString auditLine(const AuditEntry &entry, const QStringList &columns = auditColumns());

// $XDG_STATE_HOME/nesdrix/audit.csv, or ~/.local/state/nesdrix/audit.csv when
// $XDG_STATE_HOME is unset or not an absolute path; on Windows
// %LOCALAPPDATA%\nesdrix\audit.csv: the same file wherever the tool is started from.
QString defaultAuditPath();

// The audit log file: only ever appended to, each line synced to disk before
// the next is written, so that a batch cut short, even by a power cut, leaves a
// record of exactly the writes it made.
class AuditLog
{
public:
    explicit AuditLog(const QString &path);

    // Opens the file without following a symbolic link (another user could
    // point one at a file of yours), makes it with mode 0640 (narrowed by the
    // umask) and its missing folder with mode 0700; see auditfile.h. A log
    // that is already there keeps its header: new lines get its columns, in
    // its order. A file that does not begin with a log's header is refused.
    bool open();
    bool record(const DeviceRecord &device, const PlanEntry &target, const QString &outcome,
        const QString &addressCheck = QString());
    QString errorString() const;
    QString path() const { return filePath; }
    // The columns of a new log that the open file lacks (it was begun by an
    // earlier version): what they would hold is not recorded in it.
    QStringList missingColumns() const;

private:
    bool readExistingLog();
    bool appendLine(const QString &line);

    QString filePath;
    QFile file;
    QStringList columns;
    QString error;
};

#endif // AUDITLOG_H
