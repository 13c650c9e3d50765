// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"
#include "mainwindow.h"
#include "programwindow.h"
#include "testpeer.h"

#include <QAction>
#include <QHeaderView>
#include <QHostAddress>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <QUdpSocket>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void windowShape_data();
    void windowShape();
    void tableShape();
    void menus();
    void buttonsAndLayout();
    void headerItemsAreReplaced();
    void startUpScansWithEveryTry();
    void statusTellsWhereTheScanWent();
    void bindFailureIsReportedOnce();
    void iconHasItsImage();
    void statusTextsThatDoNotFitAreInTooltips_data();
    void statusTextsThatDoNotFitAreInTooltips();
};

void TestMainWindow::cleanup()
{
    // One failure must not leave a modal box that hangs the tests after it.
    while (QWidget *modal = QApplication::activeModalWidget())
        modal->close();
}

void TestMainWindow::windowShape_data()
{
    QTest::addColumn<int>("fontPoints");
    QTest::newRow("small font") << 7;
    QTest::newRow("large font") << 12;
}

void TestMainWindow::windowShape()
{
    QFETCH(int, fontPoints);
    const QFont defaultFont = QApplication::font();
    QFont font = defaultFont;
    font.setPointSize(fontPoints);
    QApplication::setFont(font);
    MainWindow window;
    window.show();
    QApplication::setFont(defaultFont);
    QCOMPARE(window.windowTitle(), QStringLiteral("Nesdrix"));
    QVERIFY(window.width() >= 650 && window.height() >= 350);
    // The visible columns fit whole, also beside the scroll bar of a long list,
    // unless the window already takes the whole screen's width, its frame's
    // borders left out.
    auto *table = window.findChild<QTableView *>(QStringLiteral("tableWidget"));
    const bool columnsFit = table->horizontalHeader()->length()
            + table->style()->pixelMetric(QStyle::PM_ScrollBarExtent)
        <= table->viewport()->width();
    const int borders = 2 * window.style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    QVERIFY(columnsFit || window.width() + borders >= window.screen()->availableGeometry().width());
    QVERIFY(!window.findChild<QToolBar *>());
    QVERIFY(
        window.findChild<QStatusBar *>()->findChild<QLabel *>(QStringLiteral("shownCountLabel")));
}

void TestMainWindow::tableShape()
{
    MainWindow window;
    auto *table = window.findChild<QTableView *>(QStringLiteral("tableWidget"));
    QVERIFY(table);
    QCOMPARE(table->model()->columnCount(), 9);
    QCOMPARE(table->model()->rowCount(), 0);
    const QStringList headers = { "Device Type", "Device Name", "IP Address", "MAC Address",
        "Net Mask", "Gate Way", "Device Version", "PLC Points", "Adapter" };
    for (int column = 0; column < 9; ++column) {
        QCOMPARE(table->model()->headerData(column, Qt::Horizontal).toString(), headers.at(column));
        QCOMPARE(table->isColumnHidden(column), column >= 7);
    }
    // Wide enough for the widest text of the font in use, never narrower than before.
    const QFontMetrics metrics = table->fontMetrics();
    QVERIFY(table->columnWidth(3) > metrics.horizontalAdvance("DD:DD:DD:DD:DD:DD"));
    QVERIFY(table->columnWidth(3) > metrics.horizontalAdvance("00:00:00:00:00:00"));
    for (int column : { 2, 4, 5 })
        QVERIFY(table->columnWidth(column) > metrics.horizontalAdvance("255.255.255.255"));
    QVERIFY(table->columnWidth(3) >= 120 && table->columnWidth(6) >= 120);
    QCOMPARE(table->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(table->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(table->selectionMode(), QAbstractItemView::SingleSelection);
    QVERIFY(!table->isSortingEnabled());
}

void TestMainWindow::menus()
{
    MainWindow window;
    QList<QAction *> bar = window.menuBar()->actions();
    QCOMPARE(bar.size(), 3);
    QCOMPARE(bar.at(0)->text(), QStringLiteral("&File"));
    QStringList files;
    for (const QAction *action : bar.at(0)->menu()->actions())
        files << action->text();
    QCOMPARE(files,
        QStringList({ "&Refresh User List", "&Export List...", "", "&Compare with Saved List...",
            "&Stop Comparing", "", "&Quit" }));
    bar.removeFirst();
    QCOMPARE(bar.at(0)->text(), QStringLiteral("&Language"));
    QCOMPARE(bar.at(1)->text(), QStringLiteral("&Help"));
    const QList<QAction *> languages = bar.at(0)->menu()->actions();
    QCOMPARE(languages.size(), 2);
    QCOMPARE(languages.at(0)->text(), QStringLiteral("中文"));
    QCOMPARE(languages.at(1)->text(), QStringLiteral("English"));
    QVERIFY(languages.at(0)->isCheckable() && languages.at(1)->isCheckable());
    QVERIFY(languages.at(0)->isChecked() != languages.at(1)->isChecked());
    const QList<QAction *> help = bar.at(1)->menu()->actions();
    QCOMPARE(help.size(), 2);
    QCOMPARE(help.at(0)->text(), QStringLiteral("&About"));
    QCOMPARE(help.at(1)->text(), QStringLiteral("Host &Info"));
}

void TestMainWindow::buttonsAndLayout()
{
    MainWindow window;
    const QStringList names = { "refreshButton", "detailButton" };
    const QStringList texts = { "Refresh User List", "Get Detailed Info" };
    for (int i = 0; i < 2; ++i) {
        auto *button = window.findChild<QPushButton *>(names.at(i));
        QVERIFY(button);
        QCOMPARE(button->text(), texts.at(i));
        QCOMPARE(button->maximumWidth(), 200);
        QCOMPARE(button->minimumHeight(), 40);
        QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
    }
    QLayout *outer = window.centralWidget()->layout();
    QCOMPARE(outer->contentsMargins(), QMargins(0, 0, 0, 8));
    QCOMPARE(outer->count(), 2);

    window.show();
    window.resize(900, 600);
    QTRY_COMPARE(window.size(), QSize(900, 600));
    auto *table = window.findChild<QTableView *>();
    auto *refresh = window.findChild<QPushButton *>(names.at(0));
    QVERIFY(table->height() > 600 / 2);
    QCOMPARE(window.centralWidget()->height() - (refresh->geometry().bottom() + 1), 8);
}

void TestMainWindow::headerItemsAreReplaced()
{
    MainWindow window;
    auto *table = window.findChild<QTableView *>();
    window.initUi();
    window.initUi();
    QCOMPARE(table->model()->columnCount(), 9);
    QCOMPARE(
        table->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Device Type"));
    QCOMPARE(window.menuBar()->actions().size(), 3);
    QCOMPARE(window.findChildren<QPushButton *>().size(), 2);
}

void TestMainWindow::startUpScansWithEveryTry()
{
    TestPeer peer;
    QString error;
    QVERIFY2(peer.bind(&error), qPrintable(error));
    ProgramWindow program;
    QTRY_COMPARE_WITH_TIMEOUT(peer.broadcasts,
        QList<QByteArray>(
            { Datagram::scanRequest(0), Datagram::scanRequest(1), Datagram::scanRequest(2) }),
        10000);
}

void TestMainWindow::statusTellsWhereTheScanWent()
{
    ProgramWindow program;
    MainWindow &window = program.window;
    const auto *status = window.findChild<QLabel *>(QStringLiteral("scanStatusLabel"));
    QCOMPARE(status->parentWidget(), window.statusBar());
    QCOMPARE(status->text(), QStringLiteral("Scanning..."));
    QTRY_COMPARE_WITH_TIMEOUT(status->text(),
        QStringLiteral("Scanned on nxrun0 192.0.2.1/24. Devices listed: 0."), 10000);
    // The adapters are read again at every try.
    QCOMPARE(QProcess::execute(QStringLiteral("ip"), { "link", "set", "nxrun0", "down" }), 0);
    window.startScan();
    QString noAdapter;
    const bool told = QTest::qWaitFor(
        [&] {
            noAdapter = status->text();
            return noAdapter != QLatin1String("Scanning...");
        },
        10000);
    QCOMPARE(QProcess::execute(QStringLiteral("ip"), { "link", "set", "nxrun0", "up" }), 0);
    QVERIFY(told);
    QVERIFY2(
        noAdapter.startsWith(QLatin1String("No network adapter is up")), qPrintable(noAdapter));
}

void TestMainWindow::bindFailureIsReportedOnce()
{
    QUdpSocket blocker;
    QVERIFY2(blocker.bind(
                 QHostAddress::AnyIPv4, Datagram::DevicePort, QAbstractSocket::DontShareAddress),
        qPrintable(blocker.errorString()));
    TestPeer peer;
    QString error;
    QVERIFY2(peer.bind(&error), qPrintable(error));
    QStringList shown;
    ProgramWindow program;
    MainWindow &window = program.window;
    window.show();
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            shown << box->text();
            box->close();
        }
    });
    closer.start(10);
    QTRY_COMPARE(shown.size(), 1);
    // A second report would have been queued before this marker.
    bool markerReached = false;
    QTimer::singleShot(0, this, [&] { markerReached = true; });
    QTRY_VERIFY(markerReached && !QApplication::activeModalWidget());
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.first().contains(QStringLiteral("102")));
    // The port is held by another program here: that is the advice.
    QVERIFY2(shown.first().contains(QStringLiteral("Another program, or another Nesdrix")),
        qPrintable(shown.first()));
    const QString status = window.findChild<QLabel *>(QStringLiteral("scanStatusLabel"))->text();
    QVERIFY2(
        status.startsWith(QLatin1String("UDP port 102 could not be opened")), qPrintable(status));

    // Nothing left from another port: a scan sent before this marker would be in.
    const QByteArray marker("marker");
    QVERIFY(
        blocker.writeDatagram(marker, QHostAddress(TestPeer::DeviceIp), Datagram::DevicePort) > 0);
    QTRY_COMPARE(peer.unicasts, QList<QByteArray>({ marker }));
    QVERIFY(peer.broadcasts.isEmpty());
}

void TestMainWindow::iconHasItsImage()
{
    const QIcon icon = MainWindow::applicationIcon();
    QVERIFY(!icon.isNull());
    QVERIFY(icon.availableSizes().contains(QSize(120, 120)));
    QCOMPARE(icon.pixmap(QSize(120, 120)).size(), QSize(120, 120));
}

void TestMainWindow::statusTextsThatDoNotFitAreInTooltips_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("conflicts");
    QTest::addColumn<int>("windowWidth");
    QTest::addColumn<bool>("cut");

    const QString scanned
        = QStringLiteral("Scanned on office 198.51.100.2/24; plant "
                         "192.0.2.1/24; line-3 203.0.113.1/24. Devices listed: 14.");
    const QString conflicts = QStringLiteral("2 devices share <b>192.0.2.81</b>; 2 devices share "
                                             "02:4E:58:00:00:01; 2 devices share 192.0.2.65");
    QTest::newRow("scan status fits") << "scanStatusLabel"
                                      << "Scanning..." << QString() << 1200 << false;
    QTest::newRow("scan status cut") << "scanStatusLabel" << scanned << QString() << 400 << true;
    QTest::newRow("conflicts cut, read as typed")
        << "conflictLabel" << conflicts << conflicts << 400 << true;
    QTest::newRow("longer than the screen")
        << "scanStatusLabel" << scanned + ' ' + scanned + ' ' + scanned << QString() << 400 << true;
    QTest::newRow("message cut") << ""
                                 << "1 device written to /home/" + scanned << QString() << 400
                                 << true;
    QTest::newRow("message beside conflicts that fill the bar")
        << ""
        << "Flashing the LEDs of Press PLC (02:4E:58:00:00:01) for 10 s." << conflicts << 480
        << true;
}

void TestMainWindow::statusTextsThatDoNotFitAreInTooltips()
{
    QFETCH(QString, where);
    QFETCH(QString, text);
    QFETCH(QString, conflicts);
    QFETCH(int, windowWidth);
    QFETCH(bool, cut);

    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.resize(windowWidth, window.height());
    auto *conflictLabel = window.findChild<QLabel *>(QStringLiteral("conflictLabel"));
    conflictLabel->setText(conflicts);
    conflictLabel->setVisible(!conflicts.isEmpty());
    QWidget *target = window.statusBar();
    if (where.isEmpty()) {
        window.statusBar()->showMessage(text);
    } else {
        auto *label = window.findChild<QLabel *>(where);
        label->setText(text);
        label->show();
        target = label;
    }
    QTRY_COMPARE(window.width(), windowWidth);
    QTRY_VERIFY(!QToolTip::isVisible());
    const QPoint inside(20, target->height() / 2);
    // Where the pointer is, as Qt delivers it; a message's start must not lie under a label.
    QWidget *under = target->childAt(inside);
    QVERIFY2(!qobject_cast<QLabel *>(under), qPrintable(under ? under->objectName() : QString()));
    QWidget *receiver = under ? under : target;
    const QPoint at = receiver->mapFrom(target, inside);
    QHelpEvent help(QEvent::ToolTip, at, receiver->mapToGlobal(at));
    QApplication::sendEvent(receiver, &help);
    QCOMPARE(QToolTip::isVisible(), cut);
    if (cut) {
        QVERIFY2(QToolTip::text().contains(text.toHtmlEscaped()), qPrintable(QToolTip::text()));
        // Whole on the screen, not cut at its edge.
        const auto tips = QApplication::topLevelWidgets();
        const auto tip = std::find_if(tips.cbegin(), tips.cend(), [](const QWidget *widget) {
            return widget->objectName() == QLatin1String("qtooltip_label");
        });
        QVERIFY(tip != tips.cend());
        QVERIFY((*tip)->width() <= window.screen()->availableGeometry().width());
    }
    QToolTip::hideText();
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
