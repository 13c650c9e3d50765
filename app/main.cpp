// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "mainwindow.h"
#include "mysocket.h"

#include <QApplication>

int main(int argc, char *argv[])
{
#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
    // Sizes stay in logical pixels on high-density screens, and icons are drawn
    // from their larger images there rather than scaled up (always so in Qt 6).
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QCoreApplication::setAttribute(Qt::AA_UseHighDpiPixmaps);
#endif
    // Names the user's configuration folder (~/.config/nesdrix) and ties the
    // window to its desktop entry.
    QCoreApplication::setApplicationName(QStringLiteral("nesdrix"));
    QGuiApplication::setDesktopFileName(QStringLiteral("nesdrix"));
    QApplication app(argc, argv);
    // Windows takes the icon from the executable; elsewhere the window needs it set.
    QApplication::setWindowIcon(MainWindow::applicationIcon());
    // Made before the window and gone after it: the window only borrows it.
    MySocket endpoint;
    endpoint.initUdpSocket();
    MainWindow window(&endpoint);
    window.show();
    return app.exec();
}
