// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicelistmodel.h"

#include <QBrush>
#include <QCoreApplication>

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
};

const QString &cellText(const DeviceRecord &record, int column)
{
    switch (column) {
    case DeviceTypeColumn:
        return record.type;
    case DeviceNameColumn:
        return record.name;
    case IpAddressColumn:
        return record.ip;
    case MacAddressColumn:
        return record.mac;
    case NetMaskColumn:
        return record.mask;
    case GateWayColumn:
        return record.gateway;
    case DeviceVersionColumn:
        return record.version;
    default:
        return record.points;
    }
}

} // namespace

DeviceListModel::DeviceListModel(QObject *parent)
    : QAbstractTableModel(parent)
{ }

QString DeviceListModel::columnTitle(int column)
{
    return QCoreApplication::translate("MainWindow", ColumnTitles[column]);
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
        return cellText(records.at(row), column);
    if (role == Qt::BackgroundRole
        && ((column == IpAddressColumn && isDuplicateIp(row))
            || (column == MacAddressColumn && isDuplicateMac(row))))
        return QBrush(Qt::red);
    return {};
}

QVariant DeviceListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < ColumnCount)
        return columnTitle(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool DeviceListModel::append(const DeviceRecord &record)
{
    const int row = records.size();
    if (row >= listLimit) {
        ++leftOut;
        return false;
    }
    beginInsertRows(QModelIndex(), row, row);
    records.append(record);
    marks.append(0);
    const int ipPartner = markDuplicate(ipRows, duplicateKey(record, record.ip), row, DuplicateIp);
    const int macPartner
        = markDuplicate(macRows, duplicateKey(record, record.mac), row, DuplicateMac);
    endInsertRows();
    repaintCell(ipPartner, IpAddressColumn);
    repaintCell(macPartner, MacAddressColumn);
    return true;
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
    ipRows.clear();
    macRows.clear();
    endRemoveRows();
}

void DeviceListModel::retranslate()
{
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

bool DeviceListModel::sharesIp(const DeviceRecord &record) const
{
    return ipRows.value(duplicateKey(record, record.ip)) == SharedText;
}

DeviceListModel::DuplicateKey DeviceListModel::duplicateKey(
    const DeviceRecord &record, const QString &text)
{
    return { record.interfaceIndex, text };
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
