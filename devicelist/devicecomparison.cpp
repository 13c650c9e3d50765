// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicecomparison.h"

#include "devicelistmodel.h"

#include <QBrush>
#include <QSet>

#include <algorithm>
#include <optional>

namespace {

// Light amber behind a changed cell, and dark text on it whatever the theme.
const QColor ChangedCellColor(255, 224, 130);
const QColor MissingTextColor(Qt::gray);

std::optional<DeviceField> fieldOfColumn(int column)
{
    switch (column) {
    case DeviceTypeColumn:
        return DeviceField::Type;
    case DeviceNameColumn:
        return DeviceField::Name;
    case IpAddressColumn:
        return DeviceField::Ip;
    case NetMaskColumn:
        return DeviceField::Mask;
    case GateWayColumn:
        return DeviceField::Gateway;
    case DeviceVersionColumn:
        return DeviceField::Version;
    case PlcPointsColumn:
        return DeviceField::Points;
    default:
        return std::nullopt;
    }
}

} // namespace

DeviceComparisonModel::DeviceComparisonModel(DeviceListModel *devices, QObject *parent)
    : QAbstractTableModel(parent)
    , devices(devices)
{
    // The list appends rows at its end, which is where the missing rows begin:
    // its row numbers are this model's.
    connect(devices, &QAbstractItemModel::rowsAboutToBeInserted, this,
        [this](const QModelIndex &, int first, int last) {
            beginInsertRows(QModelIndex(), first, last);
        });
    connect(devices, &QAbstractItemModel::rowsInserted, this, [this] {
        endInsertRows();
        updateMissing();
    });
    connect(devices, &QAbstractItemModel::rowsAboutToBeRemoved, this,
        [this](const QModelIndex &, int first, int last) {
            beginRemoveRows(QModelIndex(), first, last);
        });
    connect(devices, &QAbstractItemModel::rowsRemoved, this, [this] {
        endRemoveRows();
        updateMissing();
    });
    connect(devices, &QAbstractItemModel::modelAboutToBeReset, this,
        &DeviceComparisonModel::beginResetModel);
    connect(devices, &QAbstractItemModel::modelReset, this, [this] {
        missing.clear();
        endResetModel();
        updateMissing();
    });
    connect(devices, &QAbstractItemModel::dataChanged, this,
        &DeviceComparisonModel::forwardDataChanged);
    connect(devices, &QAbstractItemModel::headerDataChanged, this,
        [this](Qt::Orientation orientation, int first, int last) {
            emit headerDataChanged(orientation, first, qMax(last, changeColumn()));
            if (comparing && orientation == Qt::Horizontal && rowCount() > 0)
                emit dataChanged(index(0, changeColumn()), index(rowCount() - 1, changeColumn()),
                    { Qt::DisplayRole });
        });
}

void DeviceComparisonModel::compareWith(const Snapshot &savedList)
{
    if (comparing)
        stopComparing();
    const int column = devices->columnCount();
    beginInsertColumns(QModelIndex(), column, column);
    comparing = true;
    saved = savedList;
    for (int entry = 0; entry < saved.size(); ++entry) {
        if (!savedByMac.contains(saved.at(entry).record.mac.toUInt64()))
            savedByMac.insert(saved.at(entry).record.mac.toUInt64(), entry);
    }
    endInsertColumns();
    if (listedCount() > 0)
        emit dataChanged(index(0, 0), index(listedCount() - 1, column));
    updateMissing();
}

void DeviceComparisonModel::stopComparing()
{
    if (!comparing)
        return;
    if (!missing.isEmpty()) {
        beginRemoveRows(QModelIndex(), listedCount(), rowCount() - 1);
        missing.clear();
        endRemoveRows();
    }
    const int column = changeColumn();
    beginRemoveColumns(QModelIndex(), column, column);
    comparing = false;
    saved.clear();
    savedByMac.clear();
    endRemoveColumns();
    if (listedCount() > 0)
        emit dataChanged(index(0, 0), index(listedCount() - 1, column - 1));
    emit countsChanged();
}

int DeviceComparisonModel::changeColumn() const
{
    return comparing ? devices->columnCount() : -1;
}

QString DeviceComparisonModel::changeText(Change change, bool translated)
{
    static const char *const words[] = { "", QT_TRANSLATE_NOOP("DeviceComparisonModel", "new"),
        QT_TRANSLATE_NOOP("DeviceComparisonModel", "changed"),
        QT_TRANSLATE_NOOP("DeviceComparisonModel", "missing") };
    const char *word = words[change];
    return translated && *word ? tr(word) : QString::fromLatin1(word);
}

int DeviceComparisonModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : listedCount() + missing.size();
}

int DeviceComparisonModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : devices->columnCount() + (comparing ? 1 : 0);
}

QVariant DeviceComparisonModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int row = index.row();
    const int column = index.column();
    if (column == changeColumn()) {
        if (role == Qt::DisplayRole)
            return changeText(change(row));
        if (role == Qt::ForegroundRole && isMissing(row))
            return QBrush(MissingTextColor);
        return {};
    }
    if (isMissing(row)) {
        if (role == Qt::DisplayRole)
            return deviceCellText(record(row), column);
        if (role == Qt::ForegroundRole)
            return QBrush(MissingTextColor);
        if (role == Qt::ToolTipRole)
            return tr("In the saved list; it did not answer this scan.");
        return {};
    }
    const QVariant listed = devices->data(devices->index(row, column), role);
    if (!comparing || !listed.isNull() || !fieldOfColumn(column)
        || !changedFields(row).contains(*fieldOfColumn(column)))
        return listed;
    switch (role) {
    case Qt::BackgroundRole:
        return QBrush(ChangedCellColor);
    case Qt::ForegroundRole:
        return QBrush(Qt::black);
    case Qt::ToolTipRole:
        return tr("Saved list: %1").arg(deviceCellText(*savedDevice(record(row).mac), column));
    default:
        return {};
    }
}

QVariant DeviceComparisonModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section == changeColumn() && role == Qt::DisplayRole)
        return tr("Change");
    if (orientation == Qt::Horizontal)
        return devices->headerData(section, orientation, role);
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool DeviceComparisonModel::isMissing(int row) const
{
    return row >= listedCount();
}

const DeviceRecord &DeviceComparisonModel::record(int row) const
{
    return isMissing(row) ? saved.at(missing.at(row - listedCount())).record : devices->record(row);
}

DeviceComparisonModel::Change DeviceComparisonModel::change(int row) const
{
    if (!comparing)
        return Unchanged;
    if (isMissing(row))
        return Missing;
    if (!savedDevice(record(row).mac))
        return New;
    return changedFields(row).isEmpty() ? Unchanged : Changed;
}

int DeviceComparisonModel::count(Change wanted) const
{
    if (wanted == Missing)
        return missing.size();
    int counted = 0;
    for (int row = 0; row < listedCount(); ++row)
        counted += change(row) == wanted ? 1 : 0;
    return counted;
}

int DeviceComparisonModel::listedCount() const
{
    return devices->rowCount();
}

const DeviceRecord *DeviceComparisonModel::savedDevice(MacAddress mac) const
{
    const auto entry = savedByMac.constFind(mac.toUInt64());
    return entry == savedByMac.constEnd() ? nullptr : &saved.at(*entry).record;
}

QVector<DeviceField> DeviceComparisonModel::changedFields(int row) const
{
    const DeviceRecord &device = record(row);
    const DeviceRecord *before = savedDevice(device.mac);
    return before ? changedDeviceFields(*before, device) : QVector<DeviceField>();
}

void DeviceComparisonModel::updateMissing()
{
    QVector<int> wanted;
    if (comparing) {
        QSet<quint64> listedMacs;
        for (const DeviceRecord &device : devices->listedRecords())
            listedMacs.insert(device.mac.toUInt64());
        for (int entry = 0; entry < saved.size(); ++entry) {
            const quint64 mac = saved.at(entry).record.mac.toUInt64();
            if (savedByMac.value(mac) == entry && !listedMacs.contains(mac))
                wanted.append(entry);
        }
    }
    if (wanted == missing) {
        emit countsChanged();
        return;
    }
    const int first = listedCount();
    // A device that answers leaves the missing rows: only its row goes, so
    // that the rows around it keep their selection.
    const bool onlyFewer
        = std::includes(missing.cbegin(), missing.cend(), wanted.cbegin(), wanted.cend());
    if (onlyFewer) {
        // From the end, a run of rows at a time: a burst of answers takes
        // many missing rows away at once.
        const auto kept = [&wanted](int entry) {
            return std::binary_search(wanted.cbegin(), wanted.cend(), entry);
        };
        for (int last = missing.size() - 1; last >= 0; --last) {
            if (kept(missing.at(last)))
                continue;
            int start = last;
            while (start > 0 && !kept(missing.at(start - 1)))
                --start;
            beginRemoveRows(QModelIndex(), first + start, first + last);
            missing.remove(start, last - start + 1);
            endRemoveRows();
            last = start;
        }
    } else {
        if (!missing.isEmpty()) {
            beginRemoveRows(QModelIndex(), first, first + missing.size() - 1);
            missing.clear();
            endRemoveRows();
        }
        if (!wanted.isEmpty()) {
            beginInsertRows(QModelIndex(), first, first + wanted.size() - 1);
            missing = wanted;
            endInsertRows();
        }
    }
    emit countsChanged();
}

void DeviceComparisonModel::forwardDataChanged(
    const QModelIndex &topLeft, const QModelIndex &bottomRight, const QVector<int> &roles)
{
    emit dataChanged(index(topLeft.row(), topLeft.column()),
        index(bottomRight.row(), bottomRight.column()), roles);
}
