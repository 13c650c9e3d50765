// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef GLOBALS_H
#define GLOBALS_H

class MySocket;
class QTableWidget;

// The one UDP endpoint, created by the main window.
extern MySocket *g_mySocket;
// The device table, set when a device is opened from it.
extern QTableWidget *g_tableWidget;

// The device table's columns, in their order.
enum DeviceTableColumn {
    DeviceTypeColumn,
    DeviceNameColumn,
    IpAddressColumn,
    MacAddressColumn,
    NetMaskColumn,
    GateWayColumn,
    DeviceVersionColumn,
    PlcPointsColumn,
    ColumnCount
};

#endif // GLOBALS_H
