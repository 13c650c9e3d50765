// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "auditlog.h"

#include "deviceformat.h"

#include <QStringList>
#include <QSysInfo>

QString auditHeaderLine()
{
    return QStringLiteral("time_utc,host,mac,old_ip,old_mask,old_gateway,new_ip,new_mask,"
                          "new_gateway,outcome\n");
}

QString auditLine(const AuditEntry &entry)
{
    const QStringList fields = { entry.time.toUTC().toString(Qt::ISODateWithMs), entry.host,
        entry.mac, entry.oldIp, entry.oldMask, entry.oldGateway, entry.newIp, entry.newMask,
        entry.newGateway, entry.outcome };
    return csvLine(fields);
}

AuditLog::AuditLog(const QString &path)
    : file(path)
{ }

bool AuditLog::open()
{
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    return file.size() > 0 || appendLine(auditHeaderLine());
}

bool AuditLog::record(const DeviceRecord &device, const PlanEntry &target, const QString &outcome)
{
    const AuditEntry entry { QDateTime::currentDateTimeUtc(), QSysInfo::machineHostName(),
        device.mac, device.ip, device.mask, device.gateway, target.ip, target.mask, target.gateway,
        outcome };
    return appendLine(auditLine(entry));
}

QString AuditLog::errorString() const
{
    return file.errorString();
}

bool AuditLog::appendLine(const QString &line)
{
    const QByteArray bytes = line.toUtf8();
    return file.write(bytes) == bytes.size() && file.flush();
}
