// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "snapshot.h"

#include "devicelistmodel.h"
#include "safetext.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <utility>

namespace {

// A device's texts are short; a longer field is no saved list of ours.
constexpr int MaxFieldLength = 1024;

// The columns and JSON keys of today's lists, in the order the record is built.
const QStringList &deviceKeys()
{
    static const QStringList keys = { QStringLiteral("type"), QStringLiteral("name"),
        QStringLiteral("ip"), QStringLiteral("mac"), QStringLiteral("mask"),
        QStringLiteral("gateway"), QStringLiteral("version"), QStringLiteral("points") };
    return keys;
}

struct Failure
{
    int lineNo;
    QString reason;
};

// The type code whose name the text is ("" for a type the program does not name).
std::optional<quint8> typeCode(const QString &text)
{
    for (int code = 0; code <= 0xFF; ++code) {
        if (Datagram::deviceTypeName(quint8(code)) == text)
            return quint8(code);
    }
    return std::nullopt;
}

// The record from its texts in deviceKeys() order, or why they are no device.
std::optional<DeviceRecord> recordFromTexts(const QStringList &texts, QString *reason)
{
    for (const QString &text : texts) {
        if (text.size() > MaxFieldLength) {
            *reason
                = QCoreApplication::translate("Snapshot", "a field is longer than %1 characters")
                      .arg(MaxFieldLength);
            return std::nullopt;
        }
    }
    DeviceRecord record;
    const std::optional<quint8> type = typeCode(texts.at(0));
    if (!type) {
        *reason = QCoreApplication::translate("Snapshot", "\"%1\" is no device type")
                      .arg(neutralizedText(texts.at(0)));
        return std::nullopt;
    }
    record.type = *type;
    record.nameBytes = texts.at(1).toUtf8();
    const std::optional<MacAddress> mac = MacAddress::fromText(texts.at(3));
    if (!mac) {
        *reason = QCoreApplication::translate("Snapshot", "\"%1\" is no MAC address")
                      .arg(neutralizedText(texts.at(3)));
        return std::nullopt;
    }
    record.mac = *mac;
    const std::pair<int, Ipv4Address *> addresses[]
        = { { 2, &record.ip }, { 4, &record.mask }, { 5, &record.gateway } };
    for (const auto &[field, value] : addresses) {
        const std::optional<Ipv4Address> address = Ipv4Address::fromText(texts.at(field));
        if (!address) {
            *reason = QCoreApplication::translate("Snapshot", "the %1 \"%2\" is no IPv4 address")
                          .arg(deviceKeys().at(field), neutralizedText(texts.at(field)));
            return std::nullopt;
        }
        *value = *address;
    }
    record.version = texts.at(6);
    record.points = texts.at(7);
    return record;
}

// The cells of one CSV line as the CSV writer quotes them, or nothing.
std::optional<QStringList> csvCells(const QString &line, QString *reason)
{
    QStringList cells;
    int at = 0;
    while (true) {
        QString cell;
        if (at < line.size() && line.at(at) == QLatin1Char('"')) {
            ++at;
            while (true) {
                if (at >= line.size()) {
                    *reason
                        = QCoreApplication::translate("Snapshot", "a quoted field is not closed");
                    return std::nullopt;
                }
                if (line.at(at) == QLatin1Char('"')) {
                    if (at + 1 < line.size() && line.at(at + 1) == QLatin1Char('"')) {
                        cell += QLatin1Char('"');
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                cell += line.at(at++);
            }
            if (at < line.size() && line.at(at) != QLatin1Char(',')) {
                *reason = QCoreApplication::translate("Snapshot", "text after a quoted field");
                return std::nullopt;
            }
        } else {
            const int end = line.indexOf(QLatin1Char(','), at);
            cell = line.mid(at, end < 0 ? -1 : end - at);
            if (cell.contains(QLatin1Char('"'))) {
                *reason = QCoreApplication::translate(
                    "Snapshot", "a quote inside a field that is not quoted");
                return std::nullopt;
            }
            at = end < 0 ? line.size() : end;
        }
        // The writer puts an apostrophe before a field a spreadsheet would take
        // for a formula; a hidden character there stands for a tab or return.
        static const QString formulaStarts = QStringLiteral("=+-@\uFFFD");
        if (cell.size() > 1 && cell.front() == QLatin1Char('\'')
            && formulaStarts.contains(cell.at(1)))
            cell.remove(0, 1);
        cells << cell;
        if (at >= line.size())
            return cells;
        ++at; // the comma
    }
}

std::optional<Snapshot> parseCsv(const QStringList &lines, Failure *failure)
{
    int headerIndex = 0;
    while (headerIndex < lines.size() && lines.at(headerIndex).trimmed().isEmpty())
        ++headerIndex;
    const int headerLineNo = headerIndex + 1;
    if (headerIndex == lines.size()) {
        *failure = { 0, QCoreApplication::translate("Snapshot", "the file is empty") };
        return std::nullopt;
    }
    QString reason;
    const std::optional<QStringList> header = csvCells(lines.at(headerIndex), &reason);
    if (!header) {
        *failure = { headerLineNo, reason };
        return std::nullopt;
    }
    QHash<QString, int> columnOf;
    for (int column = 0; column < header->size(); ++column) {
        const QString name = header->at(column).trimmed().toLower();
        if (columnOf.contains(name)) {
            *failure = {
                headerLineNo,
                QCoreApplication::translate("Snapshot", "the header names \"%1\" twice").arg(name)
            };
            return std::nullopt;
        }
        columnOf.insert(name, column);
    }
    for (const QString &key : deviceKeys()) {
        if (!columnOf.contains(key)) {
            *failure = { headerLineNo,
                QCoreApplication::translate(
                    "Snapshot", "the header has no column \"%1\": this is no saved device list")
                    .arg(key) };
            return std::nullopt;
        }
    }
    const int changeColumn = columnOf.value(QStringLiteral("change"), -1);

    Snapshot devices;
    for (int index = headerIndex + 1; index < lines.size(); ++index) {
        const int lineNo = index + 1;
        if (lines.at(index).isEmpty())
            continue;
        const std::optional<QStringList> cells = csvCells(lines.at(index), &reason);
        if (!cells) {
            *failure = { lineNo, reason };
            return std::nullopt;
        }
        if (cells->size() != header->size()) {
            *failure = { lineNo,
                QCoreApplication::translate("Snapshot", "%1 fields where the header has %2")
                    .arg(cells->size())
                    .arg(header->size()) };
            return std::nullopt;
        }
        // An export made while comparing also lists the devices that did not answer.
        if (changeColumn >= 0 && cells->at(changeColumn) == QLatin1String("missing"))
            continue;
        QStringList texts;
        for (const QString &key : deviceKeys())
            texts << cells->at(columnOf.value(key));
        const std::optional<DeviceRecord> record = recordFromTexts(texts, &reason);
        if (!record) {
            *failure = { lineNo, reason };
            return std::nullopt;
        }
        devices.append({ *record, lineNo });
    }
    return devices;
}

int lineNoAt(const QByteArray &bytes, int offset)
{
    return int(bytes.left(offset).count('\n')) + 1;
}

// The line each element of the top-level array starts on.
QVector<int> elementLineNos(const QByteArray &bytes)
{
    QVector<int> lineNos;
    int depth = 0;
    int lineNo = 1;
    bool inString = false;
    bool escaped = false;
    bool awaitingElement = false;
    for (const char byte : bytes) {
        if (byte == '\n')
            ++lineNo;
        if (inString) {
            if (escaped)
                escaped = false;
            else if (byte == '\\')
                escaped = true;
            else if (byte == '"')
                inString = false;
            continue;
        }
        const bool blank = byte == ' ' || byte == '\n' || byte == '\r' || byte == '\t';
        if (awaitingElement && !blank) {
            lineNos.append(lineNo);
            awaitingElement = false;
        }
        if (byte == '"') {
            inString = true;
        } else if (byte == '[' || byte == '{') {
            awaitingElement = ++depth == 1;
        } else if (byte == ']' || byte == '}') {
            --depth;
        } else if (byte == ',' && depth == 1) {
            awaitingElement = true;
        }
    }
    return lineNos;
}

std::optional<Snapshot> parseJson(const QByteArray &bytes, Failure *failure)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        *failure = { lineNoAt(bytes, parseError.offset), parseError.errorString() };
        return std::nullopt;
    }
    if (!document.isArray()) {
        *failure = { 0, QCoreApplication::translate("Snapshot", "the JSON is no list of devices") };
        return std::nullopt;
    }
    const QJsonArray array = document.array();
    const QVector<int> lineNos = elementLineNos(bytes);
    Snapshot devices;
    for (int index = 0; index < array.size(); ++index) {
        const int lineNo = lineNos.value(index);
        if (!array.at(index).isObject()) {
            *failure = { lineNo,
                QCoreApplication::translate("Snapshot", "device %1 is no JSON object")
                    .arg(index + 1) };
            return std::nullopt;
        }
        const QJsonObject object = array.at(index).toObject();
        QStringList texts;
        for (const QString &key : deviceKeys()) {
            if (!object.value(key).isString()) {
                *failure = { lineNo,
                    QCoreApplication::translate("Snapshot", "device %1 has no text \"%2\"")
                        .arg(index + 1)
                        .arg(key) };
                return std::nullopt;
            }
            texts << object.value(key).toString();
        }
        QString reason;
        const std::optional<DeviceRecord> record = recordFromTexts(texts, &reason);
        if (!record) {
            *failure = { lineNo, reason };
            return std::nullopt;
        }
        devices.append({ *record, lineNo });
    }
    return devices;
}

// The line of the first byte that is no UTF-8, or 0 when all are.
int firstNonUtf8LineNo(const QByteArray &bytes)
{
    if (QString::fromUtf8(bytes).toUtf8() == bytes)
        return 0;
    const QList<QByteArray> lines = bytes.split('\n');
    for (int index = 0; index < lines.size(); ++index) {
        if (QString::fromUtf8(lines.at(index)).toUtf8() != lines.at(index))
            return index + 1;
    }
    return 1;
}

} // namespace

std::optional<Snapshot> parseSnapshot(const QByteArray &bytes, SnapshotError *error)
{
    QByteArray text = bytes;
    if (text.startsWith("\xEF\xBB\xBF"))
        text.remove(0, 3);
    Failure failure { 0, {} };
    std::optional<Snapshot> devices;
    if (const int lineNo = firstNonUtf8LineNo(text)) {
        failure = { lineNo, QCoreApplication::translate("Snapshot", "the text is not UTF-8") };
    } else if (text.trimmed().startsWith('[') || text.trimmed().startsWith('{')) {
        devices = parseJson(text, &failure);
    } else {
        QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
        for (QString &line : lines) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
        }
        devices = parseCsv(lines, &failure);
    }
    if (devices && devices->size() > DeviceListModel::MaxListedDevices) {
        failure = { 0,
            QCoreApplication::translate("Snapshot", "more than %1 devices")
                .arg(DeviceListModel::MaxListedDevices) };
        devices.reset();
    }
    if (!devices)
        *error = { failure.lineNo, failure.reason };
    return devices;
}

std::optional<Snapshot> readSnapshotFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = snapshotErrorText(path, { 0, file.errorString() });
        return std::nullopt;
    }
    const QByteArray bytes = file.read(MaxSnapshotBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        *error = snapshotErrorText(path, { 0, file.errorString() });
        return std::nullopt;
    }
    if (bytes.size() > MaxSnapshotBytes) {
        *error = snapshotErrorText(path,
            { 0,
                QCoreApplication::translate(
                    "Snapshot", "larger than %1 MiB: this is no saved device list")
                    .arg(MaxSnapshotBytes >> 20) });
        return std::nullopt;
    }
    SnapshotError parseError;
    std::optional<Snapshot> devices = parseSnapshot(bytes, &parseError);
    if (!devices)
        *error = snapshotErrorText(path, parseError);
    return devices;
}

QString snapshotErrorText(const QString &path, const SnapshotError &error)
{
    const QString shownPath = neutralizedText(path);
    if (error.lineNo == 0)
        return QStringLiteral("%1: %2").arg(shownPath, error.reason);
    return QCoreApplication::translate("Snapshot", "%1: line %2: %3")
        .arg(shownPath)
        .arg(error.lineNo)
        .arg(error.reason);
}

Snapshot snapshotOfScan(const QVector<DeviceRecord> &devices)
{
    Snapshot snapshot;
    snapshot.reserve(devices.size());
    for (const DeviceRecord &device : devices)
        snapshot.append({ device, 0 });
    return snapshot;
}
