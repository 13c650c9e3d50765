// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "auditfile.h"
#include "auditlog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

bool openAuditFile(const QString &path, QFile &file, QString *error)
{
    if (!makeFolder(QFileInfo(path).path(), error))
        return false;
    // Mode 0640, narrowed by the umask.
    const int fd = ::open(QFile::encodeName(path).constData(),
        O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0640);
    if (fd < 0) {
        *error = errno == ELOOP ? auditLinkRefusedText() : systemErrorText(errno);
        return false;
    }
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *error = file.errorString();
        return false;
    }
    return true;
}

bool syncAuditFile(QFile &file, QString *error)
{
    if (!file.flush()) {
        *error = file.errorString();
        return false;
    }
    if (::fdatasync(file.handle()) != 0) {
        *error = systemErrorText(errno);
        return false;
    }
    return true;
}
