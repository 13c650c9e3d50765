// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "cli.h"

#include <QCoreApplication>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("nesdrix-cli"));
#ifdef Q_OS_WIN
    // The CLI writes UTF-8; a console shows a Chinese device name as such only
    // when told so. The console's own code page comes back at the end.
    const UINT consoleCodePage = ::GetConsoleOutputCP();
    if (consoleCodePage != 0)
        ::SetConsoleOutputCP(CP_UTF8);
    const int status = runCli(QCoreApplication::arguments());
    if (consoleCodePage != 0)
        ::SetConsoleOutputCP(consoleCodePage);
    return status;
#else
    return runCli(QCoreApplication::arguments());
#endif
}
