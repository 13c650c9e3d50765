// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DEVICELISTMODEL_H
#define DEVICELISTMODEL_H

#include "devicerecord.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QHash>
#include <QPair>
#include <QVector>

// The device list's columns, in their order.
enum DeviceTableColumn {
    DeviceTypeColumn,
    DeviceNameColumn,
    IpAddressColumn,
    MacAddressColumn,
    NetMaskColumn,
    GateWayColumn,
    DeviceVersionColumn,
    PlcPointsColumn,
    // Added later: files list the columns from here on after the duplicate flag,
    // so that every older field stays where readers of older files find it.
    AdapterColumn,
    ColumnCount
};

// The name of the network adapter that heard a device ("plant"); empty while
// unknown (index 0) or when the adapter is gone. Names are read once per index.
QString adapterName(int interfaceIndex);

// The text a cell of the column shows for the device.
QString deviceCellText(const DeviceRecord &record, int column);

// The devices that answered, in arrival order, for the window's table and the
// command-line tool. A device answers every try of a scan, and a loop in the
// network can deliver a reply twice: a reply like one listed (the same type and
// bytes from the MAC on, heard on the same adapter) is that row heard again and
// adds nothing but its time. An IP or MAC address that two devices heard on one adapter
// carry is a duplicate: both cells are red, and stay red for as long as the rows
// are listed. The same address on two separate networks is no conflict.
// A scan lists at most maxListed() devices: any host can send replies with new
// MACs without end, and each row costs about 0.7 KiB. Replies beyond the limit
// are counted and dropped; clear() starts the next scan's count.
class DeviceListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    // Far above any plant, and 30,000 rows take about 21 MB. It stays below the
    // 40,000 replies the endpoint's receive buffer queues: the first replies of
    // a flood are then all received, however fast the rest come.
    static constexpr int MaxListedDevices = 30000;

    explicit DeviceListModel(QObject *parent = nullptr);

    // The column's title in the language installed now.
    static QString columnTitle(int column);
    // The column's name in files (CSV header, stored settings), never translated;
    // -1 for a name no column has.
    static QString columnKey(int column);
    static int columnOfKey(const QString &key);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Lists the record, or marks its row heard again; false when the list is
    // full and it was only counted.
    bool append(const DeviceRecord &record);
    // One insertion for many rows: views and proxies then do their work once.
    // Lists as many as the limit leaves room for and counts the rest; returns
    // how many rows were added.
    int appendRecords(const QVector<DeviceRecord> &newRecords);
    void clear();
    int maxListed() const { return listLimit; }
    // Tests use a small limit; it applies to the rows appended after.
    void setMaxListed(int limit) { listLimit = limit; }
    // Replies not listed since the last clear() because the list was full.
    int leftOutCount() const { return leftOut; }
    // Tells the views that the titles changed with the language.
    void retranslate();

    const DeviceRecord &record(int row) const { return records.at(row); }
    const QVector<DeviceRecord> &listedRecords() const { return records; }
    bool isDuplicateIp(int row) const { return marks.at(row) & DuplicateIp; }
    bool isDuplicateMac(int row) const { return marks.at(row) & DuplicateMac; }
    // When the row's device answered last, and how many times since the list was cleared.
    QDateTime lastHeard(int row) const;
    int answerCount(int row) const { return heard.at(row).answers; }
    // Whether another device heard on the record's adapter carries its IP address.
    bool sharesIp(const DeviceRecord &record) const;

    // What a red cell means, translated: each other device heard on the row's
    // adapter with the same IP (or MAC) address, by name and its other address.
    // Empty when the cell is not red.
    QString ipConflictText(int row) const;
    QString macConflictText(int row) const;

    // An address that more than one device heard on one adapter carries.
    struct Conflict
    {
        QString address; // "192.0.2.81", or a MAC
        int devices = 0;
    };
    // Every such address, in the order of its first row.
    QVector<Conflict> conflicts() const;

private:
    enum Mark : quint8 { DuplicateIp = 1, DuplicateMac = 2 };
    // The adapter that heard a record and one of its addresses.
    using DuplicateKey = QPair<int, quint64>;
    // The one row listed with each key, or SharedText once a second row has it.
    using RowsByText = QHash<DuplicateKey, int>;
    static constexpr int SharedText = -1;

    // What makes two records' addresses a conflict: the same address heard on
    // the same adapter.
    static DuplicateKey duplicateKey(const DeviceRecord &record, quint64 address);
    // Marks the new row and the one row listed before with its text, if any;
    // returns that earlier row when it was marked only now, else SharedText.
    int markDuplicate(RowsByText &index, const DuplicateKey &key, int row, Mark mark);
    void repaintCell(int row, int column);
    QString heardText(int row) const;
    // The other records heard on the row's adapter with the same address of
    // the mark's kind.
    QVector<DeviceRecord> othersSharing(int row, Mark mark) const;

    // A reply's content as heard on one adapter.
    using ReplyKey = QPair<int, quint64>;
    struct Heard
    {
        qint64 lastMs = 0; // since the epoch
        int answers = 1;
    };

    QVector<DeviceRecord> records;
    QVector<quint8> marks;
    QVector<Heard> heard;
    QHash<ReplyKey, int> rowsByReply;
    RowsByText ipRows;
    RowsByText macRows;
    int listLimit = MaxListedDevices;
    int leftOut = 0;
};

#endif // DEVICELISTMODEL_H
