// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DEVICECELLDELEGATE_H
#define DEVICECELLDELEGATE_H

#include <QStyledItemDelegate>

// Draws the device table's cells. The selection is in full colour only while the
// table has the keyboard focus, paler otherwise. A marked (red) cell stays marked
// while its row is selected, in a darker red instead of the selection colour; a cell too narrow
// for its text has the whole text as its tooltip, above what the list says of
// it. Tooltips are shown as plain text: device names come from the network.
class DeviceCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
        const QModelIndex &index) override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};

#endif // DEVICECELLDELEGATE_H
