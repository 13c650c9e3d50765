// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicelistmodel.h"

#include <QBrush>
#include <QCoreApplication>
#include <QNetworkInterface>
#include <QStringList>

namespace {

// Kept in the main window's translation context, where the catalogue has them.
const char *const ColumnTitles[ColumnCount] = {
    QT_TRANSLATE_NOOP("MainWindow", "Device Type"),
    QT_TRANSLATE_NOOP("MainWindow", "Device Name"),
    QT_TRANSLATE_NOOP("MainWindow", "IP Address"),
    QT_TRANSLATE_NOOP("MainWindow", "MAC Address"),
    QT_TRANSLATE_NOOP("MainWindow", "Net Mask"),
    QT_TRANSLATE_NOOP("MainWindow", "Gate Way"),
    QT_TRANSLATE_NOOP("MainWindow", "Device Version"),
    QT_TRANSLATE_NOOP("MainWindow", "PLC Points"),
    QT_TRANSLATE_NOOP("MainWindow", "Adapter"),
};

const char *const ColumnKeys[ColumnCount]
    = { "type", "name", "ip", "mac", "mask", "gateway", "version", "points", "adapter" };

} // namespace

QString deviceCellText(const DeviceRecord &record, int column)
{
    switch (column) {
    case DeviceTypeColumn:
        return record.typeText();
    case DeviceNameColumn:
        return record.name();
    case IpAddressColumn:
        return record.ip.toString();
    case MacAddressColumn:
        return record.mac.toString();
    case NetMaskColumn:
        return record.mask.toString();
    case GateWayColumn:
        return record.gateway.toString();
    case DeviceVersionColumn:
        return record.version;
    case PlcPointsColumn:
        return record.points;
    default:
        return adapterName(record.interfaceIndex);
    }
}

QString adapterName(int interfaceIndex)
{
    if (interfaceIndex <= 0)
        return {};
    // Sorting by the column asks for every row's name many times over.
    static QHash<int, QString> names;
    const auto known = names.constFind(interfaceIndex);
    if (known != names.constEnd())
        return *known;
    const QString name = QNetworkInterface::interfaceNameFromIndex(interfaceIndex);
    if (!name.isEmpty())
        names.insert(interfaceIndex, name);
    return name;
}

DeviceListModel::DeviceListModel(QObject *parent)
    : QAbstractTableModel(parent)
{ }

QString DeviceListModel::columnTitle(int column)
{
    return QCoreApplication::translate("MainWindow", ColumnTitles[column]);
}

QString DeviceListModel::columnKey(int column)
{
    return QLatin1String(ColumnKeys[column]);
}

int DeviceListModel::columnOfKey(const QString &key)
{
    for (int column = 0; column < ColumnCount; ++column) {
        if (key == QLatin1String(ColumnKeys[column]))
            return column;
    }
    return -1;
}

int DeviceListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : records.size();
}

int DeviceListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DeviceListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int row = index.row();
    const int column = index.column();
    if (role == Qt::DisplayRole)
        return deviceCellText(records.at(row), column);
    const bool redIp = column == IpAddressColumn && isDuplicateIp(row);
    const bool redMac = column == MacAddressColumn && isDuplicateMac(row);
    if (role == Qt::BackgroundRole && (redIp || redMac))
        return QBrush(Qt::red);
    if (role == Qt::ToolTipRole && (redIp || redMac))
        return redIp ? ipConflictText(row) : macConflictText(row);
    return {};
}

QVariant DeviceListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < ColumnCount)
        return columnTitle(section);
    // On the row's number: the cells keep their tooltips for texts cut short.
    if (orientation == Qt::Vertical && role == Qt::ToolTipRole && section >= 0
        && section < records.size())
        return heardText(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool DeviceListModel::append(const DeviceRecord &record)
{
    const int leftOutBefore = leftOut;
    appendRecords({ record });
    return leftOut == leftOutBefore;
}

int DeviceListModel::appendRecords(const QVector<DeviceRecord> &newRecords)
{
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const int first = records.size();
    QVector<const DeviceRecord *> newRows;
    QVector<Heard> newHeard;
    // The earlier rows heard again, as one range: one change for the views.
    int firstHeardAgain = first;
    int lastHeardAgain = -1;
    for (const DeviceRecord &record : newRecords) {
        const ReplyKey key(record.interfaceIndex, record.replyDigest);
        const auto listed
            = record.replyDigest == 0 ? rowsByReply.cend() : rowsByReply.constFind(key);
        if (listed != rowsByReply.cend()) {
            const int row = listed.value();
            Heard &again = row < first ? heard[row] : newHeard[row - first];
            again.lastMs = now;
            ++again.answers;
            if (row < first) {
                firstHeardAgain = qMin(firstHeardAgain, row);
                lastHeardAgain = qMax(lastHeardAgain, row);
            }
            continue;
        }
        if (first + newRows.size() >= listLimit) {
            ++leftOut;
            continue;
        }
        if (record.replyDigest != 0)
            rowsByReply.insert(key, first + int(newRows.size()));
        newRows.append(&record);
        newHeard.append({ now, 1 });
    }
    if (lastHeardAgain >= 0)
        emit headerDataChanged(Qt::Vertical, firstHeardAgain, lastHeardAgain);
    if (newRows.isEmpty())
        return 0;

    QVector<QPair<int, int>> repaints; // (row, column) of earlier rows marked now
    beginInsertRows(QModelIndex(), first, first + int(newRows.size()) - 1);
    for (const DeviceRecord *record : qAsConst(newRows)) {
        const int row = records.size();
        records.append(*record);
        marks.append(0);
        repaints.append(
            { markDuplicate(ipRows, duplicateKey(*record, record->ip.toUInt32()), row, DuplicateIp),
                IpAddressColumn });
        repaints.append({ markDuplicate(macRows, duplicateKey(*record, record->mac.toUInt64()), row,
                              DuplicateMac),
            MacAddressColumn });
    }
    heard += newHeard;
    endInsertRows();
    for (const auto &cell : qAsConst(repaints)) {
        if (cell.first < first)
            repaintCell(cell.first, cell.second);
    }
    return int(newRows.size());
}

void DeviceListModel::clear()
{
    // Rows removed, not a reset: a reset would also give the views' column
    // headers back their default widths and show hidden columns.
    leftOut = 0;
    if (records.isEmpty())
        return;
    beginRemoveRows(QModelIndex(), 0, records.size() - 1);
    records.clear();
    marks.clear();
    heard.clear();
    rowsByReply.clear();
    ipRows.clear();
    macRows.clear();
    endRemoveRows();
}

QDateTime DeviceListModel::lastHeard(int row) const
{
    return QDateTime::fromMSecsSinceEpoch(heard.at(row).lastMs);
}

QString DeviceListModel::heardText(int row) const
{
    return QCoreApplication::translate(
        "MainWindow", "Last answer at %1; answers since the list was cleared: %2")
        .arg(lastHeard(row).toString(QStringLiteral("HH:mm:ss")))
        .arg(answerCount(row));
}

void DeviceListModel::retranslate()
{
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

bool DeviceListModel::sharesIp(const DeviceRecord &record) const
{
    return ipRows.value(duplicateKey(record, record.ip.toUInt32())) == SharedText;
}

QVector<DeviceRecord> DeviceListModel::othersSharing(int row, Mark mark) const
{
    const DeviceRecord &device = records.at(row);
    QVector<DeviceRecord> sharing;
    for (int other = 0; other < records.size(); ++other) {
        const DeviceRecord &record = records.at(other);
        const bool same = mark == DuplicateIp ? record.ip == device.ip : record.mac == device.mac;
        if (other != row && record.interfaceIndex == device.interfaceIndex && same)
            sharing << record;
    }
    return sharing;
}

QString DeviceListModel::ipConflictText(int row) const
{
    if (!isDuplicateIp(row))
        return {};
    const QString ip = records.at(row).ip.toString();
    QStringList lines;
    for (const DeviceRecord &sharing : othersSharing(row, DuplicateIp))
        lines << tr("Shares IP address %1 with %2 (MAC %3)")
                     .arg(ip, sharing.name(), sharing.mac.toString());
    return lines.join(QLatin1Char('\n'));
}

QString DeviceListModel::macConflictText(int row) const
{
    if (!isDuplicateMac(row))
        return {};
    const QString mac = records.at(row).mac.toString();
    QStringList lines;
    for (const DeviceRecord &sharing : othersSharing(row, DuplicateMac))
        lines << tr("Shares MAC address %1 with %2 (IP %3)")
                     .arg(mac, sharing.name(), sharing.ip.toString());
    return lines.join(QLatin1Char('\n'));
}

QVector<DeviceListModel::Conflict> DeviceListModel::conflicts() const
{
    // Only the marked rows are looked at: a scan of a large plant has few.
    QHash<DuplicateKey, int> indexOf[2];
    QVector<Conflict> found;
    for (int row = 0; row < records.size(); ++row) {
        if (!marks.at(row))
            continue;
        const DeviceRecord &device = records.at(row);
        const struct
        {
            bool marked;
            quint64 address;
            QString text;
        } kinds[] = { { isDuplicateIp(row), device.ip.toUInt32(), device.ip.toString() },
            { isDuplicateMac(row), device.mac.toUInt64(), device.mac.toString() } };
        for (int kind = 0; kind < 2; ++kind) {
            if (!kinds[kind].marked)
                continue;
            const DuplicateKey key = duplicateKey(device, kinds[kind].address);
            const auto known = indexOf[kind].constFind(key);
            if (known != indexOf[kind].constEnd()) {
                ++found[*known].devices;
            } else {
                indexOf[kind].insert(key, found.size());
                found.append({ kinds[kind].text, 1 });
            }
        }
    }
    return found;
}

DeviceListModel::DuplicateKey DeviceListModel::duplicateKey(
    const DeviceRecord &record, quint64 address)
{
    return { record.interfaceIndex, address };
}

int DeviceListModel::markDuplicate(RowsByText &index, const DuplicateKey &key, int row, Mark mark)
{
    const auto listed = index.find(key);
    if (listed == index.end()) {
        index.insert(key, row);
        return SharedText;
    }
    marks[row] |= mark;
    const int earlier = listed.value();
    if (earlier != SharedText)
        marks[earlier] |= mark;
    listed.value() = SharedText;
    return earlier;
}

void DeviceListModel::repaintCell(int row, int column)
{
    if (row == SharedText)
        return;
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell, { Qt::BackgroundRole });
}
