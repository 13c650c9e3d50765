// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "neighbourtable.h"

#include <QCoreApplication>

bool readNeighbourEntry(int, const QHostAddress &, NeighbourEntry *, QString *error)
{
    *error = QCoreApplication::translate(
        "NeighbourTable", "this system's neighbour table cannot be read yet");
    return false;
}
