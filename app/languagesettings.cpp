#include "languagesettings.h"

#include <QCoreApplication>
#include <QSettings>

namespace LanguageSettings {

namespace {
const QString Group = QStringLiteral("Languages");
const QString Key = QStringLiteral("languages");
} // namespace

QString settingsFilePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/language.ini");
}

QString catalogueFilePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/zh_cn.qm");
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

} // namespace LanguageSettings
