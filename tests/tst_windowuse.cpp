// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicelistmodel.h"
#include "dialogtesting.h"
#include "languagesettings.h"
#include "mainwindow.h"
#include "processdialog.h"
#include "programwindow.h"
#include "subdeviceinfo.h"
#include "testdevices.h"

#include <QAction>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QNetworkInterface>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTableView>
#include <QUdpSocket>
#include <QToolTip>
#include <QtTest>

#include <memory>

namespace {

// Listed in this order; sorted by IP address: Servo X, Servo Y, Conveyor, Press.
const QStringList Names = { "Press", "Servo X", "Conveyor", "Servo Y" };
const QStringList Ips = { "192.0.2.70", "192.0.2.64", "192.0.2.66", "192.0.2.65" };

DeviceRecord device(const QString &name, const QString &ip, int number)
{
    TestDevice device;
    device.name = name;
    device.ip = ip;
    device.mac = QStringLiteral("02:4E:58:00:00:%1").arg(number, 2, 16, QLatin1Char('0'));
    return device.record();
}

// The way replies reach the window: one listing pass for the batch.
void listDevices(MainWindow *window, const QVector<DeviceRecord> &devices)
{
    for (const DeviceRecord &record : devices)
        QVERIFY(QMetaObject::invokeMethod(
            window, "tranlateUdpRawFrameSlot", Qt::DirectConnection, Q_ARG(DeviceRecord, record)));
    auto *listed = window->findChild<DeviceListModel *>();
    const int before = listed->rowCount();
    QTRY_COMPARE(listed->rowCount(), before + devices.size());
}

QVector<DeviceRecord> fourDevices()
{
    QVector<DeviceRecord> devices;
    for (int i = 0; i < Names.size(); ++i)
        devices << device(Names.at(i), Ips.at(i), i + 1);
    return devices;
}

QString selectedName(QTableView *table)
{
    const QModelIndexList rows = table->selectionModel()->selectedRows(DeviceNameColumn);
    return rows.size() == 1 ? rows.first().data().toString() : QString();
}

// What "Get Detailed Info" does now: the name of the device it opens, or the box's text.
QString detailOutcome(MainWindow *window)
{
    QString outcome = QStringLiteral("nothing");
    QObject scope;
    whenModal<QMessageBox>(&scope, [&](QMessageBox *box) {
        outcome = box->text();
        box->close();
    });
    whenModal<SubDeviceInfo>(&scope, [&](SubDeviceInfo *dialog) {
        outcome = QStringLiteral("opens ")
            + dialog->findChild<QLineEdit *>(QStringLiteral("deviceNameEdit"))->text();
        dialog->close();
    });
    window->findChild<QPushButton *>(QStringLiteral("detailButton"))->click();
    return outcome;
}

const QString SelectFirst
    = QStringLiteral("Select a device in the list first (the filter may hide the one you want).");

} // namespace

class TestWindowUse : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void selectionAcrossFilterAndSort_data();
    void selectionAcrossFilterAndSort();
    void keyboardMap_data();
    void keyboardMap();
    void viewStateIsRemembered_data();
    void viewStateIsRemembered();
    void exportNamesTheFile_data();
    void exportNamesTheFile();
    void cellToolTips_data();
    void cellToolTips();
    void conflictIsExplained();
    void statusWhenNothingAnswers();
    void adapterColumn();
    void bindFailureIsToldAndRetried();

private:
    std::unique_ptr<ProgramWindow> program;
    MainWindow *window = nullptr;
    QTableView *table = nullptr;
};

void TestWindowUse::init()
{
    QFile::remove(LanguageSettings::settingsFilePath());
    window = new MainWindow;
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    table = window->findChild<QTableView *>(QStringLiteral("tableWidget"));
}

void TestWindowUse::cleanup()
{
    closeLeftoverModals();
    if (program)
        program.reset();
    else
        delete window;
    window = nullptr;
    QFile::remove(LanguageSettings::settingsFilePath());
}

void TestWindowUse::selectionAcrossFilterAndSort_data()
{
    QTest::addColumn<int>("listed");
    QTest::addColumn<int>("chosen"); // the arrival row clicked; -1: none
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("ipClicks");
    QTest::addColumn<bool>("filterEmptied");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("outcome");

    QTest::newRow("empty list") << 0 << -1 << "" << 0 << false << ""
                                << "No Devices!";
    QTest::newRow("no choice: the top row") << 4 << -1 << "" << 0 << false << "Press"
                                            << "opens Press";
    QTest::newRow("no choice, sorted: the top of the sorted list")
        << 4 << -1 << "" << 1 << false << "Servo X"
        << "opens Servo X";
    QTest::newRow("no choice, filtered: the top row shown")
        << 4 << -1 << "servo" << 0 << false << "Servo X"
        << "opens Servo X";
    QTest::newRow("chosen, then hidden by the filter")
        << 4 << 2 << "servo" << 0 << false << "" << SelectFirst;
    QTest::newRow("chosen, hidden, the filter emptied: chosen again")
        << 4 << 2 << "servo" << 0 << true << "Conveyor"
        << "opens Conveyor";
    QTest::newRow("chosen and still shown") << 4 << 3 << "servo" << 0 << false << "Servo Y"
                                            << "opens Servo Y";
    QTest::newRow("chosen, then sorted") << 4 << 2 << "" << 2 << false << "Conveyor"
                                         << "opens Conveyor";
    QTest::newRow("a filter that matches nothing")
        << 4 << -1 << "zzz" << 0 << false << "" << SelectFirst;
}

void TestWindowUse::selectionAcrossFilterAndSort()
{
    QFETCH(int, listed);
    QFETCH(int, chosen);
    QFETCH(QString, filter);
    QFETCH(int, ipClicks);
    QFETCH(bool, filterEmptied);
    if (listed > 0)
        listDevices(window, fourDevices());
    if (chosen >= 0) {
        const QRect cell = table->visualRect(table->model()->index(chosen, DeviceNameColumn));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    }
    auto *filterEdit = window->findChild<QLineEdit *>(QStringLiteral("filterEdit"));
    filterEdit->setFocus();
    QTest::keyClicks(filterEdit, filter);
    QHeaderView *header = table->horizontalHeader();
    for (int click = 0; click < ipClicks; ++click)
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
            QPoint(header->sectionViewportPosition(IpAddressColumn) + 4, header->height() / 2));
    // A reply that comes meanwhile changes nothing of it.
    if (listed > 0)
        listDevices(window, { device("Late", "192.0.2.71", 9) });
    if (filterEmptied)
        QTest::keyClick(filterEdit, Qt::Key_Escape);

    QTEST(selectedName(table), "selected");
    QTEST(detailOutcome(window), "outcome");
}

void TestWindowUse::keyboardMap_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("effect");

    QTest::newRow("Enter on a row opens it")
        << "table" << int(Qt::Key_Enter) << int(Qt::NoModifier) << "opens Press";
    QTest::newRow("Return on a row opens it")
        << "table" << int(Qt::Key_Return) << int(Qt::NoModifier) << "opens Press";
    QTest::newRow("F5 refreshes") << "table" << int(Qt::Key_F5) << int(Qt::NoModifier) << "refresh";
    QTest::newRow("F5 from the filter too")
        << "filter" << int(Qt::Key_F5) << int(Qt::NoModifier) << "refresh";
    QTest::newRow("Ctrl+F goes to the filter")
        << "table" << int(Qt::Key_F) << int(Qt::ControlModifier) << "filter focused";
    QTest::newRow("Escape on the empty filter goes back to the list")
        << "filter" << int(Qt::Key_Escape) << int(Qt::NoModifier) << "table focused";
    QTest::newRow("Ctrl+C copies the row")
        << "table" << int(Qt::Key_C) << int(Qt::ControlModifier) << "copied Press";
    QTest::newRow("Ctrl+Q quits") << "table" << int(Qt::Key_Q) << int(Qt::ControlModifier)
                                  << "closed";
    QTest::newRow("Alt+F opens the File menu")
        << "table" << int(Qt::Key_F) << int(Qt::AltModifier) << "menu fileMenu";
}

void TestWindowUse::keyboardMap()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    // The list has the keys from the start.
    QCOMPARE(QApplication::focusWidget(), table);
    listDevices(window, fourDevices());
    QWidget *focused = focus == QLatin1String("table")
        ? static_cast<QWidget *>(table)
        : window->findChild<QLineEdit *>(QStringLiteral("filterEdit"));
    focused->setFocus();
    QTRY_VERIFY(focused->hasFocus());
    QGuiApplication::clipboard()->clear();

    QString effect = QStringLiteral("nothing");
    QObject scope;
    whenModal<ProcessDialog>(&scope, [&](ProcessDialog *dialog) {
        effect = QStringLiteral("refresh");
        dialog->close();
    });
    whenModal<SubDeviceInfo>(&scope, [&](SubDeviceInfo *dialog) {
        effect = QStringLiteral("opens ")
            + dialog->findChild<QLineEdit *>(QStringLiteral("deviceNameEdit"))->text();
        dialog->close();
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCoreApplication::processEvents();
    if (effect == QLatin1String("nothing")) {
        if (!window->isVisible())
            effect = QStringLiteral("closed");
        else if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget()))
            effect = QStringLiteral("menu ") + menu->objectName();
        else if (!QGuiApplication::clipboard()->text().isEmpty())
            effect = QStringLiteral("copied ")
                + QGuiApplication::clipboard()->text().section(QLatin1Char('\t'), 1, 1);
        else if (QApplication::focusWidget() != focused)
            effect = QApplication::focusWidget() == table ? QStringLiteral("table focused")
                                                          : QStringLiteral("filter focused");
    }
    if (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    QTEST(effect, "effect");
}

void TestWindowUse::viewStateIsRemembered_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("fits");
    QTest::newRow("as it was left") << QSize(700, 420) << true;
    QTest::newRow("larger than the screen") << QSize(20000, 20000) << false;
}

void TestWindowUse::viewStateIsRemembered()
{
    QFETCH(QSize, size);
    QFETCH(bool, fits);
    listDevices(window, fourDevices());
    window->resize(size);
    table->setColumnHidden(NetMaskColumn, true);
    table->setColumnHidden(PlcPointsColumn, false);
    table->setColumnWidth(DeviceNameColumn, 251);
    QHeaderView *header = table->horizontalHeader();
    for (int click = 0; click < 2; ++click)
        emit header->sectionClicked(IpAddressColumn);
    const QSize left = window->size();
    QVERIFY(window->close());
    // The port is the first window's until it is gone.
    delete window;
    window = nullptr;

    MainWindow again;
    auto *table = again.findChild<QTableView *>(QStringLiteral("tableWidget"));
    const QSize screen = again.screen()->availableGeometry().size();
    if (fits)
        QCOMPARE(again.size(), left);
    // Room is left for the window manager's title bar.
    QVERIFY(again.width() <= screen.width() && again.height() < screen.height());
    QVERIFY(table->isColumnHidden(NetMaskColumn));
    QVERIFY(!table->isColumnHidden(PlcPointsColumn));
    QCOMPARE(table->columnWidth(DeviceNameColumn), 251);
    QCOMPARE(table->horizontalHeader()->sortIndicatorSection(), int(IpAddressColumn));
    QCOMPARE(table->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    listDevices(&again, fourDevices());
    QCOMPARE(table->model()->index(0, DeviceNameColumn).data().toString(), QStringLiteral("Press"));
    // The next click goes on from there: back to arrival order.
    emit table->horizontalHeader()->sectionClicked(IpAddressColumn);
    QCOMPARE(table->model()->index(1, DeviceNameColumn).data().toString(), Names.at(1));
}

void TestWindowUse::exportNamesTheFile_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("saveButton");
    QTest::newRow("no extension: .csv added") << false << "list"
                                              << "list.csv"
                                              << "Save";
    QTest::newRow("an extension typed is kept") << false << "list.txt"
                                                << "list.txt"
                                                << "Save";
    QTest::newRow("Chinese: Qt's own texts in Chinese") << true << "清单"
                                                        << "清单.csv"
                                                        << "保存";
}

void TestWindowUse::exportNamesTheFile()
{
    QFETCH(bool, chinese);
    QFETCH(QString, typed);
    QFETCH(QString, written);
    listDevices(window, fourDevices());
    if (chinese)
        window->findChild<QAction *>(QStringLiteral("chineseAction"))->trigger();
    QTemporaryDir folder;
    QString saveButton;
    QObject scope;
    whenModal<QFileDialog>(&scope, [&](QFileDialog *dialog) {
        dialog->setDirectory(folder.path());
        auto *buttons = dialog->findChild<QDialogButtonBox *>();
        // "&Save", "保存(&S)": the text without its mnemonic.
        saveButton = buttons->button(QDialogButtonBox::Save)
                         ->text()
                         .remove(QRegularExpression(QStringLiteral("\\(&\\w\\)|&")));
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(typed);
        buttons->button(QDialogButtonBox::Save)->click();
    });
    window->findChild<QAction *>(QStringLiteral("exportAction"))->trigger();
    if (chinese)
        window->findChild<QAction *>(QStringLiteral("englishAction"))->trigger();

    QTEST(saveButton, "saveButton");
    const QString path = QDir(folder.path()).filePath(written);
    QVERIFY2(QFile::exists(path), qPrintable(QDir(folder.path()).entryList().join(' ')));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 1);
    QVERIFY2(window->statusBar()->currentMessage().contains(QDir::toNativeSeparators(path)),
        qPrintable(window->statusBar()->currentMessage()));
}

void TestWindowUse::cellToolTips_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("tip"); // as shown: markup escaped
    QTest::newRow("fits: no tooltip") << "Press" << 200 << "";
    QTest::newRow("cut: the whole name") << "Conveyor west 2" << 30 << "Conveyor west 2";
    QTest::newRow("markup in a name reads as typed")
        << "<b>x</b> press" << 20 << "&lt;b&gt;x&lt;/b&gt; press";
}

void TestWindowUse::cellToolTips()
{
    QFETCH(QString, name);
    QFETCH(int, width);
    QFETCH(QString, tip);
    listDevices(window, { device(name, "192.0.2.70", 1) });
    table->setColumnWidth(DeviceNameColumn, width);
    const QModelIndex cell = table->model()->index(0, DeviceNameColumn);
    const QPoint at = table->visualRect(cell).center();
    QHelpEvent event(QEvent::ToolTip, at, table->viewport()->mapToGlobal(at));
    QToolTip::hideText();
    QApplication::sendEvent(table->viewport(), &event);
    if (tip.isEmpty())
        QVERIFY2(!QToolTip::isVisible(), qPrintable(QToolTip::text()));
    else
        QTRY_VERIFY2(QToolTip::text().contains(tip), qPrintable(QToolTip::text()));
    QToolTip::hideText();
}

void TestWindowUse::conflictIsExplained()
{
    // Two devices with one IP: both IP cells are red; the top row is selected.
    listDevices(window, { device("Press", "192.0.2.70", 1), device("Fan", "192.0.2.70", 2) });
    table->setFocus();
    QTRY_VERIFY(table->hasFocus());
    const QImage shown = table->viewport()->grab().toImage();
    const auto colourAt = [&](int row, int column) {
        // The cell's top left corner: background, never text.
        const QRect cell = table->visualRect(table->model()->index(row, column));
        return shown.pixelColor(cell.topLeft() + QPoint(2, 2));
    };
    const QColor selectedMark = colourAt(0, IpAddressColumn);
    const QColor mark = colourAt(1, IpAddressColumn);
    const QColor selection = colourAt(0, DeviceNameColumn);
    QCOMPARE(mark, QColor(Qt::red));
    QVERIFY2(selectedMark != selection, qPrintable(selectedMark.name()));
    // The selection is paler while the keys go elsewhere: the table shows its focus.
    window->findChild<QLineEdit *>(QStringLiteral("filterEdit"))->setFocus();
    QTRY_VERIFY(!table->hasFocus());
    const QImage unfocused = table->viewport()->grab().toImage();
    const QRect nameCell = table->visualRect(table->model()->index(0, DeviceNameColumn));
    QVERIFY(unfocused.pixelColor(nameCell.topLeft() + QPoint(2, 2)).lightness()
        > selection.lightness());
    table->setFocus();
    QVERIFY2(selectedMark.red() > 2 * (selectedMark.green() + selectedMark.blue()),
        qPrintable(selectedMark.name()));

    // The status bar counts it, the red cell's tooltip names the other device,
    // and so does the dialog of either.
    QCOMPARE(window->findChild<QLabel *>(QStringLiteral("conflictLabel"))->text(),
        QStringLiteral("2 devices share 192.0.2.70"));
    const QString other = QStringLiteral(
        "Shares IP address 192.0.2.70 with Fan (MAC 02:4E:58:00:00:02)");
    const QPoint at = table->visualRect(table->model()->index(0, IpAddressColumn)).center();
    QHelpEvent event(QEvent::ToolTip, at, table->viewport()->mapToGlobal(at));
    QApplication::sendEvent(table->viewport(), &event);
    QTRY_VERIFY2(QToolTip::text().contains(other), qPrintable(QToolTip::text()));
    QToolTip::hideText();
    QString note;
    QObject scope;
    whenModal<SubDeviceInfo>(&scope, [&](SubDeviceInfo *dialog) {
        auto *label = dialog->findChild<QLabel *>(QStringLiteral("conflictLabel"));
        note = label->isVisible() ? label->text() : QStringLiteral("hidden");
        dialog->close();
    });
    window->findChild<QPushButton *>(QStringLiteral("detailButton"))->click();
    QVERIFY2(note.endsWith(QLatin1Char('\n') + other), qPrintable(note));
}

void TestWindowUse::statusWhenNothingAnswers()
{
    // The scan needs the port, which the window of init() does without.
    delete window;
    program = std::make_unique<ProgramWindow>();
    window = &program->window;
    auto *status = window->findChild<QLabel *>(QStringLiteral("scanStatusLabel"));
    QCOMPARE(status->text(), QStringLiteral("Scanning..."));
    QTRY_VERIFY2_WITH_TIMEOUT(status->text().startsWith(QStringLiteral(
                                  "No device answered on nxrun0 192.0.2.1/24. Check the cable")),
        qPrintable(status->text()), 10000);
    QVERIFY(status->text().contains(QStringLiteral("When nothing answers")));
    // A device that answers after all is listed and counted as usual.
    listDevices(window, { device("Press", "192.0.2.70", 1) });
    QVERIFY2(
        status->text().endsWith(QStringLiteral("Devices listed: 1.")), qPrintable(status->text()));
}

void TestWindowUse::adapterColumn()
{
    DeviceRecord plant = device("Press", "192.0.2.70", 1);
    plant.interfaceIndex = QNetworkInterface::interfaceFromName("nxrun0").index();
    DeviceRecord looped = device("Fan", "192.0.2.71", 2);
    looped.interfaceIndex = QNetworkInterface::interfaceFromName("lo").index();
    QVERIFY(plant.interfaceIndex > 0 && looped.interfaceIndex > 0);
    listDevices(window, { plant, looped });
    QVERIFY(table->isColumnHidden(AdapterColumn));

    // Shown from the header's menu, a check for each column.
    QStringList offered;
    QTimer menuDriver;
    connect(&menuDriver, &QTimer::timeout, this, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        menuDriver.stop();
        for (QAction *action : menu->actions()) {
            offered << action->text() + (action->isChecked() ? "+" : "-");
            if (action->text() == QLatin1String("Adapter"))
                action->trigger();
        }
        menu->close();
    });
    menuDriver.start(10);
    emit table->horizontalHeader()->customContextMenuRequested(QPoint(5, 5));
    QCOMPARE(offered.size(), int(ColumnCount));
    QCOMPARE(offered.mid(PlcPointsColumn), QStringList({ "PLC Points-", "Adapter-" }));
    QVERIFY(!table->isColumnHidden(AdapterColumn));
    QVERIFY(table->columnWidth(AdapterColumn) > 0);
    QCOMPARE(table->model()->index(0, AdapterColumn).data().toString(), QStringLiteral("nxrun0"));
    // Beside the IP address, on screen and in a copied row.
    QCOMPARE(table->horizontalHeader()->visualIndex(AdapterColumn), IpAddressColumn + 1);
    window->findChild<QAction *>(QStringLiteral("copyRowAction"))->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text().section(QLatin1Char('\t'), 2, 3),
        QStringLiteral("192.0.2.70\tnxrun0"));

    // The filter matches the adapter's name.
    QTest::keyClicks(window->findChild<QLineEdit *>(QStringLiteral("filterEdit")), "nxrun");
    QCOMPARE(table->model()->rowCount(), 1);
    QCOMPARE(selectedName(table), QStringLiteral("Press"));
}

void TestWindowUse::bindFailureIsToldAndRetried()
{
    delete window;
    window = nullptr;
    auto blocker = std::make_unique<QUdpSocket>();
    QVERIFY2(blocker->bind(
                 QHostAddress::AnyIPv4, Datagram::DevicePort, QAbstractSocket::DontShareAddress),
        qPrintable(blocker->errorString()));
    program = std::make_unique<ProgramWindow>();
    window = &program->window;
    window->show();
    QRect box;
    QObject scope;
    whenModal<QMessageBox>(&scope, [&box](QMessageBox *shown) {
        box = shown->frameGeometry();
        shown->close();
    });
    QTRY_VERIFY(box.isValid());
    // Over the window, not in the screen's corner.
    QVERIFY2((box.center() - window->frameGeometry().center()).manhattanLength() < 40,
        qPrintable(QStringLiteral("box %1,%2 window %3,%4")
                       .arg(box.center().x())
                       .arg(box.center().y())
                       .arg(window->frameGeometry().center().x())
                       .arg(window->frameGeometry().center().y())));
    // The status bar keeps saying so after the box.
    auto *status = window->findChild<QLabel *>(QStringLiteral("scanStatusLabel"));
    QVERIFY2(status->text().endsWith(QStringLiteral("press Refresh User List to try again.")),
        qPrintable(status->text()));
    // The port comes free: Refresh User List (F5) opens it and scans.
    blocker.reset();
    whenModal<ProcessDialog>(&scope, [](ProcessDialog *pause) { pause->close(); });
    window->findChild<QAction *>(QStringLiteral("refreshAction"))->trigger();
    QTRY_VERIFY2(status->text().startsWith(QStringLiteral("Scanned on nxrun0 192.0.2.1/24.")),
        qPrintable(status->text()));
}

QTEST_MAIN(TestWindowUse)
#include "tst_windowuse.moc"
