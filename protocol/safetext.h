// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef SAFETEXT_H
#define SAFETEXT_H

#include <QString>
#include <QStringList>

// Texts that came from a device or a file, made safe to show on a terminal, to
// write into a log and to open in a spreadsheet.

// What stands in for a character that could move the cursor, set a terminal's
// title, reorder a line or hide text: a control or formatting character
// (Unicode Cc and Cf, which take in the bidirectional overrides and isolates),
// or a line or paragraph separator.
inline constexpr char16_t HiddenCharacterPlaceholder = 0xFFFD;

QString neutralizedText(const QString &text);

// JSON text with every hidden character but its own line breaks written as a
// \u escape: the same JSON, every string exact, and nothing raw on a terminal.
QString jsonWithEscapedHiddenCharacters(const QString &json);

// The longest a version or points text is shown, in UTF-8 bytes, the ellipsis
// included: a reply may carry tens of kilobytes in these items.
inline constexpr int MaxShownTextBytes = 64;

// The text unchanged when it fits in maxBytes UTF-8 bytes, otherwise cut on a
// character boundary and ended with "…" so that the whole fits.
QString boundedText(const QString &text, int maxBytes = MaxShownTextBytes);

// One CSV line ending in a line break. Every field is neutralised; one that a
// spreadsheet would take for a formula (it begins with =, +, -, @, a tab or a
// carriage return) gets a leading apostrophe; one holding a comma or a quote is
// quoted.
QString csvLine(const QStringList &fields);

// How many columns a terminal gives the text: two for East Asian wide and
// full-width characters (Chinese names), none for combining marks, one for
// the rest. For aligning table columns.
int terminalWidth(const QString &text);

#endif // SAFETEXT_H
