// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "tablemarks.h"

#include <QAbstractItemModel>
#include <QBrush>

QString redMarks(const QAbstractItemModel *model, int column)
{
    QString marks;
    for (int row = 0; row < model->rowCount(); ++row) {
        const QVariant background = model->index(row, column).data(Qt::BackgroundRole);
        if (!background.isValid())
            marks += QLatin1Char('0');
        else if (background.value<QBrush>() == QBrush(Qt::red))
            marks += QLatin1Char('1');
        else
            marks += QLatin1Char('?');
    }
    return marks;
}

QString cellText(const QAbstractItemModel *model, int row, int column)
{
    return model->index(row, column).data().toString();
}
