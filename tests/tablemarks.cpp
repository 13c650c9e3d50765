// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "tablemarks.h"

#include <QBrush>
#include <QTableWidget>

QString redMarks(const QTableWidget *table, int column)
{
    QString marks;
    for (int row = 0; row < table->rowCount(); ++row) {
        const QVariant background = table->item(row, column)->data(Qt::BackgroundRole);
        if (!background.isValid())
            marks += QLatin1Char('0');
        else if (background.value<QBrush>() == QBrush(Qt::red))
            marks += QLatin1Char('1');
        else
            marks += QLatin1Char('?');
    }
    return marks;
}
