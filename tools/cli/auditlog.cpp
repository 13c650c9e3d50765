// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "auditlog.h"

#include "auditfile.h"
#include "safetext.h"

#include <QStringList>
#include <QSysInfo>

QString auditLinkRefusedText()
{
    return QStringLiteral("it is a symbolic link, which is not followed; give the path of "
                          "the file itself");
}

QString auditHeaderLine()
{
    return QStringLiteral("time_utc,host,mac,old_ip,old_mask,old_gateway,new_ip,new_mask,"
                          "new_gateway,outcome,address_check\n");
}

QString auditLine(const AuditEntry &entry)
{
    const QStringList fields = { entry.time.toUTC().toString(Qt::ISODateWithMs), entry.host,
        entry.mac, entry.oldIp, entry.oldMask, entry.oldGateway, entry.newIp, entry.newMask,
        entry.newGateway, entry.outcome, entry.addressCheck };
    return csvLine(fields);
}

AuditLog::AuditLog(const QString &path)
    : filePath(path)
{ }

bool AuditLog::open()
{
    if (!openAuditFile(filePath, file, &error))
        return false;
    return file.size() > 0 || appendLine(auditHeaderLine());
}

bool AuditLog::record(const DeviceRecord &device, const PlanEntry &target, const QString &outcome,
    const QString &addressCheck)
{
    const AuditEntry entry { QDateTime::currentDateTimeUtc(), QSysInfo::machineHostName(),
        device.mac.toString(), device.ip.toString(), device.mask.toString(),
        device.gateway.toString(), target.settings.ip.toString(), target.settings.mask.toString(),
        target.settings.gateway.toString(), outcome, addressCheck };
    return appendLine(auditLine(entry));
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
