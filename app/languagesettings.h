// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef LANGUAGESETTINGS_H
#define LANGUAGESETTINGS_H

#include <QString>

#include <functional>

// The interface language, remembered in language.ini. The file beside the program
// comes first; where that copy cannot be written (an installed program's folder
// belongs to root), the same file in the user's configuration folder takes its
// place, so that a choice is never silently forgotten.
namespace LanguageSettings {

inline const QString English = QStringLiteral("English");
inline const QString Chinese = QStringLiteral("Chinese");

QString settingsFilePath();
QString catalogueFilePath();
// Where Qt's own catalogues are: a "translations" folder beside the program
// when there is one (a copy deployed with its Qt), else Qt's installed folder.
QString qtCatalogueFolder();
// The stored value exactly as written, or an empty text.
QString storedLanguage();
void storeLanguage(const QString &language);

// Tells whether a file can be written at a path. Replaceable so that tests, which
// run as root and may write anywhere, can play an ordinary user; an empty
// function restores the real check.
using WritableCheck = std::function<bool(const QString &filePath)>;
void setWritableCheck(WritableCheck check);

} // namespace LanguageSettings

#endif // LANGUAGESETTINGS_H
