// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DEVICESORTFILTER_H
#define DEVICESORTFILTER_H

#include "devicerecord.h"

#include <QCollator>
#include <QSortFilterProxyModel>

class DeviceComparisonModel;
class DeviceListModel;

// Negative, zero or positive as device a sorts before, with or after b by the
// column: addresses by value, versions and points by the value of each dotted
// part, other texts by the collator (the language's order, digit runs as numbers).
int compareDevices(
    int column, const DeviceRecord &a, const DeviceRecord &b, const QCollator &collator);

// Whether the device's type, name, IP, MAC or adapter holds the filter text, in any
// case; a MAC also matches with its separators left out. An empty filter
// matches every device.
bool deviceMatchesFilter(const DeviceRecord &device, const QString &filter);

// The device list as the table shows it: filtered and sorted, while the list
// itself keeps arrival order. With no sort column and no filter it passes rows
// through in arrival order. While it compares, the saved devices that did not
// answer follow the others in every order.
class DeviceSortFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit DeviceSortFilterModel(DeviceListModel *devices, QObject *parent = nullptr);

    void setFilterText(const QString &text);
    void setSortLocale(const QLocale &locale);
    // A header click: ascending by a new column, then descending, then back to
    // arrival order.
    void sortByHeaderClick(int column);

    // The list between this model and the device list, compared with a saved
    // list or not. Its missing devices stay after the listed ones in any sort.
    DeviceComparisonModel *comparison() const { return compared; }

    const DeviceRecord &record(const QModelIndex &index) const;
    // The listed row's index in the table, invalid while it is filtered out.
    QModelIndex indexOfListedRow(int row, int column) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    DeviceComparisonModel *compared;
    QString filterText;
    QCollator collator;
};

#endif // DEVICESORTFILTER_H
