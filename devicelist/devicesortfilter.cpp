// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicesortfilter.h"

#include "devicecomparison.h"
#include "devicelistmodel.h"

#include <QVector>

#include <algorithm>

namespace {

bool sortsByValue(int column)
{
    return column == IpAddressColumn || column == NetMaskColumn || column == GateWayColumn
        || column == DeviceVersionColumn || column == PlcPointsColumn;
}

QVector<uint> dottedValues(const QString &text)
{
    QVector<uint> values;
    for (const QString &part : text.split(QLatin1Char('.'), Qt::SkipEmptyParts))
        values.append(part.toUInt());
    return values;
}

int compareDottedValues(const QString &a, const QString &b)
{
    const QVector<uint> left = dottedValues(a);
    const QVector<uint> right = dottedValues(b);
    if (std::lexicographical_compare(left.cbegin(), left.cend(), right.cbegin(), right.cend()))
        return -1;
    return std::lexicographical_compare(right.cbegin(), right.cend(), left.cbegin(), left.cend())
        ? 1
        : 0;
}

QString withoutMacSeparators(QString text)
{
    text.remove(QLatin1Char(':'));
    text.remove(QLatin1Char('-'));
    text.remove(QLatin1Char('.'));
    return text;
}

} // namespace

int compareDeviceTexts(int column, const QString &a, const QString &b, const QCollator &collator)
{
    return sortsByValue(column) ? compareDottedValues(a, b) : collator.compare(a, b);
}

bool deviceMatchesFilter(const DeviceRecord &device, const QString &filter)
{
    const QString wanted = filter.trimmed();
    const auto holds
        = [&wanted](const QString &text) { return text.contains(wanted, Qt::CaseInsensitive); };
    if (holds(device.type) || holds(device.name) || holds(device.ip) || holds(device.mac))
        return true;
    const QString bareWanted = withoutMacSeparators(wanted);
    return !bareWanted.isEmpty()
        && withoutMacSeparators(device.mac).contains(bareWanted, Qt::CaseInsensitive);
}

DeviceSortFilterModel::DeviceSortFilterModel(DeviceListModel *devices, QObject *parent)
    : QSortFilterProxyModel(parent)
    , compared(new DeviceComparisonModel(devices, this))
{
    collator.setNumericMode(true);
    setSourceModel(compared);
}

void DeviceSortFilterModel::setFilterText(const QString &text)
{
    filterText = text;
    invalidateFilter();
}

void DeviceSortFilterModel::setSortLocale(const QLocale &locale)
{
    if (collator.locale() == locale)
        return;
    collator.setLocale(locale);
    if (sortColumn() >= 0)
        invalidate();
}

void DeviceSortFilterModel::sortByHeaderClick(int column)
{
    if (column != sortColumn())
        sort(column, Qt::AscendingOrder);
    else if (sortOrder() == Qt::AscendingOrder)
        sort(column, Qt::DescendingOrder);
    else
        sort(-1, Qt::AscendingOrder);
}

const DeviceRecord &DeviceSortFilterModel::record(const QModelIndex &index) const
{
    return compared->record(mapToSource(index).row());
}

QModelIndex DeviceSortFilterModel::indexOfListedRow(int row, int column) const
{
    return mapFromSource(compared->index(row, column));
}

bool DeviceSortFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    return filterText.isEmpty() || deviceMatchesFilter(compared->record(sourceRow), filterText);
}

bool DeviceSortFilterModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const bool leftMissing = compared->isMissing(left.row());
    if (leftMissing != compared->isMissing(right.row()))
        return (sortOrder() == Qt::AscendingOrder) == !leftMissing;
    const int column = left.column();
    return compareDeviceTexts(column, left.data().toString(), right.data().toString(), collator)
        < 0;
}
