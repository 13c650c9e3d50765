// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "auditfile.h"
#include "auditlog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

QString lastErrorText()
{
    return qt_error_string(int(::GetLastError()));
}

} // namespace

// %LOCALAPPDATA%\nesdrix\audit.csv: the user's own folder, readable by the user
// alone, and not copied around with a roaming profile.
QString defaultAuditPath()
{
    return QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/nesdrix/audit.csv"));
}

bool openAuditFile(const QString &path, QFile &file, QString *error)
{
    // A new folder and file take the parent folder's permissions, which in
    // the user's profile are the user's alone.
    const QString folder = QFileInfo(path).path();
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot make the folder %1").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    // Append data without write data: every write goes to the end. The link
    // itself is opened, not what it points to, so that it can be refused.
    const HANDLE handle
        = ::CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()),
            FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE, FILE_SHARE_READ, nullptr,
            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        *error = lastErrorText();
        return false;
    }
    BY_HANDLE_FILE_INFORMATION information {};
    if (!::GetFileInformationByHandle(handle, &information)) {
        *error = lastErrorText();
        ::CloseHandle(handle);
        return false;
    }
    if (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        *error = auditLinkRefusedText();
        ::CloseHandle(handle);
        return false;
    }
    const int fd = ::_open_osfhandle(intptr_t(handle), _O_WRONLY | _O_APPEND | _O_BINARY);
    if (fd < 0) {
        *error = QStringLiteral("cannot use the opened file");
        ::CloseHandle(handle);
        return false;
    }
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle)) {
        *error = file.errorString();
        ::_close(fd);
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
    const HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(file.handle()));
    if (handle == INVALID_HANDLE_VALUE || !::FlushFileBuffers(handle)) {
        *error = lastErrorText();
        return false;
    }
    return true;
}
