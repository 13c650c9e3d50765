// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "languagesettings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSettings>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <QScopedValueRollback>

// Qt reads only the read-only attribute unless asked to read the permissions:
// a folder in Program Files would pass as writable to an ordinary user.
extern Q_CORE_EXPORT int qt_ntfs_permission_lookup;
#endif

namespace LanguageSettings {

namespace {
const QString FileName = QStringLiteral("/language.ini");
const QString Group = QStringLiteral("Languages");
const QString Key = QStringLiteral("languages");

WritableCheck &replacedWritableCheck()
{
    static WritableCheck check;
    return check;
}

bool canWrite(const QString &filePath)
{
    if (const WritableCheck &check = replacedWritableCheck())
        return check(filePath);
    // The settings are saved by replacing the file, which takes a writable folder
    // as well as a writable file.
    const QFileInfo file(filePath);
#ifdef Q_OS_WIN
    const QScopedValueRollback<int> readPermissions(
        qt_ntfs_permission_lookup, qt_ntfs_permission_lookup + 1);
#endif
    return QFileInfo(file.absolutePath()).isWritable() && (!file.exists() || file.isWritable());
}
} // namespace

QString settingsFilePath()
{
    const QString besideProgram = QCoreApplication::applicationDirPath() + FileName;
    if (canWrite(besideProgram))
        return besideProgram;
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + FileName;
}

QString catalogueFilePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/zh_cn.qm");
}

QString qtCatalogueFolder()
{
    const QString besideProgram
        = QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
    if (QFileInfo(besideProgram).isDir())
        return besideProgram;
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    return QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
}

QString storedLanguage()
{
    QSettings settings(settingsFilePath(), QSettings::IniFormat);
    settings.beginGroup(Group);
    return settings.value(Key).toString();
}

void storeLanguage(const QString &language)
{
    QSettings settings(settingsFilePath(), QSettings::IniFormat);
    settings.beginGroup(Group);
    settings.setValue(Key, language);
}

void setWritableCheck(WritableCheck check)
{
    replacedWritableCheck() = std::move(check);
}

} // namespace LanguageSettings
