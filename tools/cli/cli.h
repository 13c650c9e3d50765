// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef CLI_H
#define CLI_H

#include <QStringList>

// Runs one nesdrix-cli command line (the program name first) and returns the
// exit status (exitcode.h). Needs a QCoreApplication.
int runCli(const QStringList &arguments);

#endif // CLI_H
