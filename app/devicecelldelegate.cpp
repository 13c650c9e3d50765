// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicecelldelegate.h"

#include "statustext.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QStringList>
#include <QToolTip>

void DeviceCellDelegate::initStyleOption(
    QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // The selection in full colour only while the list has the keys, so that
    // it shows whether arrows and Enter go to the list or elsewhere.
    if (option->widget && !option->widget->hasFocus()) {
        for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive }) {
            const QColor highlight = option->palette.color(group, QPalette::Highlight);
            const QColor base = option->palette.color(group, QPalette::Base);
            option->palette.setColor(group, QPalette::Highlight,
                QColor::fromRgbF((highlight.redF() + 2 * base.redF()) / 3,
                    (highlight.greenF() + 2 * base.greenF()) / 3,
                    (highlight.blueF() + 2 * base.blueF()) / 3));
            option->palette.setColor(
                group, QPalette::HighlightedText, option->palette.color(group, QPalette::Text));
        }
    }
    if (option->backgroundBrush.style() == Qt::NoBrush)
        return;
    // The selection would paint over the mark: the cell a conflict is on must
    // stay visible on the row about to be opened.
    const QColor selectedMark = option->backgroundBrush.color().darker(160);
    for (const QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive }) {
        option->palette.setColor(group, QPalette::Highlight, selectedMark);
        option->palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
}

bool DeviceCellDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view,
    const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QStringList lines;
    const QString text = index.data(Qt::DisplayRole).toString();
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    if (option.fontMetrics.horizontalAdvance(text) + 2 * margin > option.rect.width())
        lines << text;
    const QString told = index.data(Qt::ToolTipRole).toString();
    if (!told.isEmpty())
        lines << told;
    if (lines.isEmpty()) {
        QToolTip::hideText();
        return false;
    }
    QToolTip::showText(
        event->globalPos(), plainToolTip(lines, view), view->viewport(), option.rect);
    return true;
}
