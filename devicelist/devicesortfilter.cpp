// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicesortfilter.h"

#include "devicecomparison.h"
#include "devicelistmodel.h"

#include <QVector>

#include <algorithm>

namespace {

Ipv4Address addressOf(const DeviceRecord &device, int column)
{
    switch (column) {
    case IpAddressColumn:
        return device.ip;
    case NetMaskColumn:
        return device.mask;
    default:
        return device.gateway;
    }
}

// The numbers of a version or points text ("1.2.0.10").
QVector<uint> dottedValues(const QString &text)
{
    QVector<uint> values;
    for (const QString &part : text.split(QLatin1Char('.'), Qt::SkipEmptyParts))
        values.append(part.toUInt());
    return values;
}

template<typename T> int compareValues(const T &left, const T &right)
{
    if (std::lexicographical_compare(left.cbegin(), left.cend(), right.cbegin(), right.cend()))
        return -1;
    return std::lexicographical_compare(right.cbegin(), right.cend(), left.cbegin(), left.cend())
        ? 1
        : 0;
}

int compareDottedValues(const QString &a, const QString &b)
{
    return compareValues(dottedValues(a), dottedValues(b));
}

QString withoutMacSeparators(QString text)
{
    text.remove(QLatin1Char(':'));
    text.remove(QLatin1Char('-'));
    text.remove(QLatin1Char('.'));
    return text;
}

} // namespace

int compareDevices(
    int column, const DeviceRecord &a, const DeviceRecord &b, const QCollator &collator)
{
    switch (column) {
    case IpAddressColumn:
    case NetMaskColumn:
    case GateWayColumn: {
        const quint32 left = addressOf(a, column).toUInt32();
        const quint32 right = addressOf(b, column).toUInt32();
        return left < right ? -1 : left > right ? 1 : 0;
    }
    case DeviceVersionColumn:
        return compareDottedValues(a.version, b.version);
    case PlcPointsColumn:
        return compareDottedValues(a.points, b.points);
    default:
        return collator.compare(deviceCellText(a, column), deviceCellText(b, column));
    }
}

bool deviceMatchesFilter(const DeviceRecord &device, const QString &filter)
{
    const QString wanted = filter.trimmed();
    const auto holds
        = [&wanted](const QString &text) { return text.contains(wanted, Qt::CaseInsensitive); };
    const QString mac = device.mac.toString();
    if (holds(device.typeText()) || holds(device.name()) || holds(device.ip.toString())
        || holds(mac) || holds(adapterName(device.interfaceIndex)))
        return true;
    const QString bareWanted = withoutMacSeparators(wanted);
    return !bareWanted.isEmpty()
        && withoutMacSeparators(mac).contains(bareWanted, Qt::CaseInsensitive);
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
    if (left.column() == compared->changeColumn())
        return collator.compare(left.data().toString(), right.data().toString()) < 0;
    return compareDevices(
               left.column(), compared->record(left.row()), compared->record(right.row()), collator)
        < 0;
}
