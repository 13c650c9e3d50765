// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "mainwindow.h"
#include "mysocket.h"
#include "version.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

namespace {

QStringList argumentList(int argc, char *argv[])
{
    QStringList arguments;
    for (int index = 0; index < argc; ++index)
        arguments << QString::fromLocal8Bit(argv[index]);
    return arguments;
}

} // namespace

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
    QCoreApplication::setApplicationVersion(QStringLiteral(NESDRIX_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("nesdrix"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Finds industrial devices on the local network and sets their IP addresses.\n"
        "Qt's own options (-platform, -style, -reverse, ...) are taken as well: see --help-all."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // Help and version are printed before the program connects to a display,
    // opens a socket or shows a window, so that they work over ssh and in scripts.
    // Whatever else the parser does not know may be one of Qt's options, which
    // only the window's application takes away.
    if (parser.parse(argumentList(argc, argv)) && (parser.isSet(help) || parser.isSet(version))) {
        // The parser words its texts through an application object; one without
        // a display will do. It is named as users start the program: through the
        // launcher argv[0] is the program's own path.
        char name[] = "nesdrix";
        char *coreArgv[] = { name, nullptr };
        int coreArgc = 1;
        const QCoreApplication core(coreArgc, coreArgv);
        if (parser.isSet(version))
            parser.showVersion();
        parser.showHelp();
    }

    QApplication app(argc, argv);
    // Ends the program on an unknown option, and prints --help-all.
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        std::fputs("nesdrix takes no file or other argument (try: nesdrix --help)\n", stderr);
        return 1;
    }
    // Windows takes the icon from the executable; elsewhere the window needs it set.
    QApplication::setWindowIcon(MainWindow::applicationIcon());
    // Made before the window and gone after it: the window only borrows it.
    MySocket endpoint;
    endpoint.initUdpSocket();
    MainWindow window(&endpoint);
    window.show();
    return app.exec();
}
