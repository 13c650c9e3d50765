// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "auditlog.h"

#include "safetext.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QSysInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemErrorText(int number)
{
    return QString::fromLocal8Bit(std::strerror(number));
}

// Makes the folder and its missing parents, the last one private to the user.
bool makeFolder(const QString &folder, QString *error)
{
    if (QFileInfo(folder).isDir())
        return true;
    const QString parent = QFileInfo(folder).path();
    if (!QDir().mkpath(parent) || ::mkdir(QFile::encodeName(folder).constData(), 0700) != 0) {
        *error
            = QStringLiteral("cannot make the folder %1: %2").arg(folder, systemErrorText(errno));
        return false;
    }
    return true;
}

} // namespace

QString defaultAuditPath()
{
    const QString stateHome = qEnvironmentVariable("XDG_STATE_HOME");
    const QString base = QDir::isAbsolutePath(stateHome)
        ? stateHome
        : QDir::homePath() + QStringLiteral("/.local/state");
    return QDir::cleanPath(base + QStringLiteral("/nesdrix/audit.csv"));
}

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
    : filePath(path)
{ }

bool AuditLog::open()
{
    if (!makeFolder(QFileInfo(filePath).path(), &error))
        return false;
    const int fd = ::open(QFile::encodeName(filePath).constData(),
        O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0640);
    if (fd < 0) {
        error = errno == ELOOP
            ? QStringLiteral("it is a symbolic link, which is not followed; give the path of "
                             "the file itself")
            : systemErrorText(errno);
        return false;
    }
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        error = file.errorString();
        return false;
    }
    return file.size() > 0 || appendLine(auditHeaderLine());
}

bool AuditLog::record(const DeviceRecord &device, const PlanEntry &target, const QString &outcome)
{
    const AuditEntry entry { QDateTime::currentDateTimeUtc(), QSysInfo::machineHostName(),
        device.mac.toString(), device.ip.toString(), device.mask.toString(),
        device.gateway.toString(), target.settings.ip.toString(), target.settings.mask.toString(),
        target.settings.gateway.toString(), outcome };
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
    if (::fdatasync(file.handle()) != 0) {
        error = systemErrorText(errno);
        return false;
    }
    return true;
}
