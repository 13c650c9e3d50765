// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "scantext.h"

#include <QStringList>

QString scanAdapterText(const ScanAdapter &adapter)
{
    QStringList addresses;
    for (const InterfaceAddress &address : adapter.addresses)
        addresses << QStringLiteral("%1/%2").arg(address.ip.toString()).arg(address.prefixLength);
    return adapter.name + QLatin1Char(' ') + addresses.join(QStringLiteral(", "));
}

QString scannedAdaptersText(const ScanReport &report)
{
    QStringList scanned;
    for (const ScanAdapter &adapter : report.adapters) {
        if (adapter.sent)
            scanned << scanAdapterText(adapter);
    }
    return scanned.join(QStringLiteral("; "));
}
