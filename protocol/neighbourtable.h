// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef NEIGHBOURTABLE_H
#define NEIGHBOURTABLE_H

#include "addresscheck.h"

class QHostAddress;
class QString;

// The system's neighbour entry for an IPv4 address on the adapter with the
// index; a state of None when there is none. False, with the system's reason
// in *error, when the table cannot be read. Needs no privilege.
bool readNeighbourEntry(
    int interfaceIndex, const QHostAddress &ip, NeighbourEntry *entry, QString *error);

#endif // NEIGHBOURTABLE_H
