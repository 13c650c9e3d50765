// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "safetext.h"

namespace {

// Calls visit(codePoint, character) for each character of the text, a
// surrogate pair being one character.
template<typename Visit> void forEachCharacter(const QString &text, Visit visit)
{
    for (int i = 0; i < text.size(); ++i) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size()
            && text.at(i + 1).isLowSurrogate();
        const uint codePoint
            = pair ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1)) : text.at(i).unicode();
        visit(codePoint, text.mid(i, pair ? 2 : 1));
        i += pair ? 1 : 0;
    }
}

bool isHiddenCharacter(uint codePoint)
{
    switch (QChar::category(codePoint)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

QString csvField(const QString &text)
{
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    QString field = neutralizedText(text);
    if (!text.isEmpty() && formulaStarts.contains(text.front()))
        field.prepend(QLatin1Char('\''));
    if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')))
        return field;
    field.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

} // namespace

QString neutralizedText(const QString &text)
{
    QString shown;
    shown.reserve(text.size());
    forEachCharacter(text, [&shown](uint codePoint, const QString &character) {
        shown += isHiddenCharacter(codePoint) ? QString(QChar(HiddenCharacterPlaceholder))
                                              : character;
    });
    return shown;
}

QString jsonWithEscapedHiddenCharacters(const QString &json)
{
    QString escaped;
    escaped.reserve(json.size());
    forEachCharacter(json, [&escaped](uint codePoint, const QString &character) {
        if (codePoint == '\n' || !isHiddenCharacter(codePoint)) {
            escaped += character;
            return;
        }
        for (const QChar unit : character)
            escaped += QStringLiteral("\\u%1").arg(unit.unicode(), 4, 16, QLatin1Char('0'));
    });
    return escaped;
}

QString boundedText(const QString &text, int maxBytes)
{
    static const QString ellipsis = QStringLiteral("\u2026");
    if (text.toUtf8().size() <= maxBytes)
        return text;
    const int room = maxBytes - ellipsis.toUtf8().size();
    QString cut;
    int cutBytes = 0;
    forEachCharacter(text, [&](uint, const QString &character) {
        cutBytes += character.toUtf8().size();
        if (cutBytes <= room)
            cut += character;
    });
    return cut + ellipsis;
}

QString csvLine(const QStringList &fields)
{
    QStringList cells;
    for (const QString &field : fields)
        cells << csvField(field);
    return cells.join(QLatin1Char(',')) + QLatin1Char('\n');
}

namespace {

bool isWide(char32_t c)
{
    // The East Asian Wide and Fullwidth blocks a device name can hold.
    static constexpr char32_t WideRanges[][2] = { { 0x1100, 0x115F }, { 0x2E80, 0x303E },
        { 0x3041, 0x33FF }, { 0x3400, 0x4DBF }, { 0x4E00, 0x9FFF }, { 0xA000, 0xA4CF },
        { 0xAC00, 0xD7A3 }, { 0xF900, 0xFAFF }, { 0xFE10, 0xFE19 }, { 0xFE30, 0xFE6F },
        { 0xFF00, 0xFF60 }, { 0xFFE0, 0xFFE6 }, { 0x1F300, 0x1F64F }, { 0x1F900, 0x1F9FF },
        { 0x20000, 0x2FFFD }, { 0x30000, 0x3FFFD } };
    for (const auto &range : WideRanges) {
        if (c >= range[0] && c <= range[1])
            return true;
    }
    return false;
}

} // namespace

int terminalWidth(const QString &text)
{
    int width = 0;
    for (const char32_t c : text.toUcs4()) {
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing)
            continue;
        width += isWide(c) ? 2 : 1;
    }
    return width;
}
