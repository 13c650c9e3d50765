// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef SIMULATORLOG_H
#define SIMULATORLOG_H

#include <QStringList>

// The lines the device simulator has logged so far. Fleet tests run under
// tests/netns-fleet.sh, which names the log in NESDRIX_SIM_LOG (and the office
// simulator's, with two adapters, in NESDRIX_SIM_LOG_OFFICE).
QStringList simulatorLog(const char *variable = "NESDRIX_SIM_LOG");
// The number of logged lines that start with the text.
int simulatorLogCount(const QString &start, const char *variable = "NESDRIX_SIM_LOG");

#endif // SIMULATORLOG_H
