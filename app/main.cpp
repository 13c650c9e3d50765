#include "mainwindow.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    // Sizes stay in logical pixels on high-density screens.
    QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling);
    QApplication app(argc, argv);
    // Windows takes the icon from the executable; elsewhere the window needs it set.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/images/Nesdrix.ico")));
    MainWindow window;
    window.show();
    return app.exec();
}
