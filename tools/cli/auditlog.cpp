// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "auditlog.h"

#include "auditfile.h"
#include "safetext.h"

#include <QFileInfo>
#include <QStringList>
#include <QSysInfo>

QString auditLinkRefusedText()
{
    return QStringLiteral("it is a symbolic link, which is not followed; give the path of "
                          "the file itself");
}

namespace {

// The first logs had every column but address_check: a file's header must
// hold these to be taken as a log.
constexpr int firstLogColumnCount = 10;
// Far more than any header of ours; a longer first line is no header.
constexpr qint64 headerLimit = 1024;

} // namespace

QStringList auditColumns()
{
    return { QStringLiteral("time_utc"), QStringLiteral("host"), QStringLiteral("mac"),
        QStringLiteral("old_ip"), QStringLiteral("old_mask"), QStringLiteral("old_gateway"),
        QStringLiteral("new_ip"), QStringLiteral("new_mask"), QStringLiteral("new_gateway"),
        QStringLiteral("outcome"), QStringLiteral("address_check") };
}

QString auditHeaderLine()
{
    return auditColumns().join(QLatin1Char(',')) + QLatin1Char('\n');
}

QString auditLine(const AuditEntry &entry, const QStringList &columns)
{
    const QStringList values = { entry.time.toUTC().toString(Qt::ISODateWithMs), entry.host,
        entry.mac, entry.oldIp, entry.oldMask, entry.oldGateway, entry.newIp, entry.newMask,
        entry.newGateway, entry.outcome, entry.addressCheck };
    const QStringList known = auditColumns();
    QStringList fields;
    for (const QString &column : columns)
        fields << values.value(known.indexOf(column));
    return csvLine(fields);
}

AuditLog::AuditLog(const QString &path)
    : filePath(path)
{ }

bool AuditLog::open()
{
    if (!openAuditFile(filePath, file, &error))
        return false;
    columns = auditColumns();
    if (file.size() == 0)
        return appendLine(auditHeaderLine());
    return readExistingLog();
}

QStringList AuditLog::missingColumns() const
{
    QStringList missing;
    for (const QString &column : auditColumns()) {
        if (!columns.contains(column))
            missing << column;
    }
    return missing;
}

// Takes the columns of the log's header, so that every line added matches it,
// and ends a last line that a crash cut short, so that it cannot swallow the next.
bool AuditLog::readExistingLog()
{
    if (!QFileInfo(filePath).isFile())
        return true;
    QFile existing(filePath);
    if (!existing.open(QIODevice::ReadOnly)) {
        error = existing.errorString();
        return false;
    }
    QByteArray header = existing.readLine(headerLimit + 1);
    while (header.endsWith('\n') || header.endsWith('\r'))
        header.chop(1);
    const QStringList names = QString::fromUtf8(header).split(QLatin1Char(','));
    const QStringList needed = auditColumns().mid(0, firstLogColumnCount);
    for (const QString &column : needed) {
        if (!names.contains(column)) {
            error = QStringLiteral("its first line is not an audit log's header (%1); "
                                   "name another file with --audit, or move this one aside")
                        .arg(auditHeaderLine().trimmed());
            return false;
        }
    }
    columns = names;
    char last = '\n';
    if (!existing.seek(existing.size() - 1) || !existing.getChar(&last)) {
        error = existing.errorString();
        return false;
    }
    return last == '\n' || appendLine(QStringLiteral("\n"));
}

bool AuditLog::record(const DeviceRecord &device, const PlanEntry &target, const QString &outcome,
    const QString &addressCheck)
{
    const AuditEntry entry { QDateTime::currentDateTimeUtc(), QSysInfo::machineHostName(),
        device.mac.toString(), device.ip.toString(), device.mask.toString(),
        device.gateway.toString(), target.settings.ip.toString(), target.settings.mask.toString(),
        target.settings.gateway.toString(), outcome, addressCheck };
    return appendLine(auditLine(entry, columns));
}

QString AuditLog::errorString() const
{
    return error;
}

bool AuditLog::appendLine(const QString &line)
{
    const QByteArray bytes = line.toUtf8();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        error = file.errorString();
        return false;
    }
    return syncAuditFile(file, &error);
}
