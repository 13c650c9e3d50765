// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef TABLEMARKS_H
#define TABLEMARKS_H

#include <QString>

class QAbstractItemModel;

// One character for each row of the column: 1 for a red cell, 0 for a cell
// without a background, ? for any other background.
QString redMarks(const QAbstractItemModel *model, int column);

// The text a cell shows.
QString cellText(const QAbstractItemModel *model, int row, int column);

#endif // TABLEMARKS_H
