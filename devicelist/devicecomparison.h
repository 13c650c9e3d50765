// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DEVICECOMPARISON_H
#define DEVICECOMPARISON_H

#include "devicediff.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QVector>

class DeviceListModel;

// The device list compared with a saved list. The listed devices keep their
// rows, and a "Change" column says whether each is new or changed (a changed
// cell is marked, its tooltip gives the saved value); the saved devices that
// did not answer follow them, greyed, as missing. Not comparing, it shows the
// list as it is.
class DeviceComparisonModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Change { Unchanged, New, Changed, Missing };

    explicit DeviceComparisonModel(DeviceListModel *devices, QObject *parent = nullptr);

    // Compares from now on with the saved list. A MAC it lists more than once
    // is compared with its first entry: saved.size() - comparedCount() are not.
    void compareWith(const Snapshot &saved);
    void stopComparing();
    bool isComparing() const { return comparing; }
    // The Change column, the last; -1 while not comparing.
    int changeColumn() const;

    // The word of the Change column, translated; "missing", "new" and
    // "changed" as exports and `nesdrix-cli diff` write them when not.
    static QString changeText(Change change, bool translated = true);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The listed devices come first, in the list's rows; then the missing ones.
    bool isMissing(int row) const;
    const DeviceRecord &record(int row) const;
    Change change(int row) const;
    int count(Change change) const;
    // The saved devices compared with the list: one per MAC.
    int comparedCount() const { return savedByMac.size(); }
    int savedCount() const { return saved.size(); }

signals:
    // The counts of new, changed and missing devices may have changed.
    void countsChanged();

private:
    int listedCount() const;
    // The saved device listed with the MAC, or nullptr.
    const DeviceRecord *savedDevice(MacAddress mac) const;
    // The fields in which the listed row differs from its saved device.
    QVector<DeviceField> changedFields(int row) const;
    // Lists as missing every saved device that no listed row carries now.
    void updateMissing();
    void forwardDataChanged(
        const QModelIndex &topLeft, const QModelIndex &bottomRight, const QVector<int> &roles);

    DeviceListModel *devices;
    bool comparing = false;
    Snapshot saved;
    // The first entry of each MAC in the saved list.
    QHash<quint64, int> savedByMac;
    // The saved entries shown as missing, in saved-list order.
    QVector<int> missing;
};

#endif // DEVICECOMPARISON_H
