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
};

// The column names, written once at the top of a new log.
QString auditHeaderLine();
// The entry as one CSV line; the time in UTC, ISO 8601 with milliseconds.
QString auditLine(const AuditEntry &entry);

// The audit log file: only ever appended to, each line flushed as it is written,
// so that a batch cut short leaves a record of exactly the writes it made.
class AuditLog
{
public:
    explicit AuditLog(const QString &path);

    bool open();
    bool record(const DeviceRecord &device, const PlanEntry &target, const QString &outcome);
    QString errorString() const;
    QString path() const { return file.fileName(); }

private:
    bool appendLine(const QString &line);

    QFile file;
};

#endif // AUDITLOG_H
