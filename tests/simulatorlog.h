// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef SIMULATORLOG_H
#define SIMULATORLOG_H

#include <QStringList>

// The lines the device simulator has logged so far. Fleet tests run under
// tests/netns-fleet.sh, which names the log in NESDRIX_SIM_LOG.
QStringList simulatorLog();
// The number of logged lines that start with the text.
int simulatorLogCount(const QString &start);

#endif // SIMULATORLOG_H
