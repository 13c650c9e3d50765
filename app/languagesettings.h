#ifndef LANGUAGESETTINGS_H
#define LANGUAGESETTINGS_H

#include <QString>

// The interface language remembered in language.ini beside the program.
namespace LanguageSettings {

inline const QString English = QStringLiteral("English");
inline const QString Chinese = QStringLiteral("Chinese");

QString settingsFilePath();
QString catalogueFilePath();
// The stored value exactly as written, or an empty text.
QString storedLanguage();
void storeLanguage(const QString &language);

} // namespace LanguageSettings

#endif // LANGUAGESETTINGS_H
