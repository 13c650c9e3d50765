// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef SCANTEXT_H
#define SCANTEXT_H

#include "mysocket.h"

#include <QString>

// How the window and the command-line tool name the networks a scan went out on.

// "plant 192.0.2.1/24, 192.0.2.2/24"
QString scanAdapterText(const ScanAdapter &adapter);

// The adapters the scan went out on, "; " between them; empty when it went out on none.
QString scannedAdaptersText(const ScanReport &report);

#endif // SCANTEXT_H
