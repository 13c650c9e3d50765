// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "mainwindow.h"

#include "about.h"
#include "addresschecktext.h"
#include "devicecelldelegate.h"
#include "devicecomparison.h"
#include "devicecsv.h"
#include "devicelistmodel.h"
#include "devicesortfilter.h"
#include "devicetext.h"
#include "info.h"
#include "languagesettings.h"
#include "ledsession.h"
#include "mysocket.h"
#include "processdialog.h"
#include "safetext.h"
#include "scanrun.h"
#include "scantext.h"
#include "snapshot.h"
#include "statustext.h"
#include "subdeviceinfo.h"
#include "warningbox.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSettings>
#include <QShowEvent>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QTranslator>
#include <QVBoxLayout>
#include <QWindow>
#include <QtMath>

#include <algorithm>

namespace {

const char MenuBarStyle[]
    = "QMenuBar{background-color: qlineargradient(x1:0, y1:0, x2:0, y2:0.9, x3:0, y3:1, "
      "stop:0 rgb(223,223,223), stop:0.9 rgb(0,0,0), stop:1 rgb(19,19,19)); font: 12px; "
      "color: rgb(255, 255, 255);}"
      "QMenuBar::item{background-color: qlineargradient(x1:0, y1:0, x2:0, y2:0.9, x3:0, y3:1, "
      "stop:0 rgb(223,223,223), stop:0.9 rgb(0,0,0), stop:1 rgb(19,19,19)); font: 12px; "
      "color: rgb(255, 255, 255);}"
      "QMenuBar::item::selected{background-color: rgb(49,106,197);color:#ffffff}";

constexpr int ButtonMaximumWidth = 200;
constexpr int ButtonMinimumHeight = 40;
constexpr int WideColumnWidth = 120;
const QSize SmallestStartSize(650, 350);
// How long after a scan an empty list is told as "no device answered".
constexpr int AnswerWaitMs = 3000;
// How long the row menu's "Flash LEDs" flashes a device, as nesdrix-cli flash does.
constexpr int RowFlashMs = 10000;
// How long a passing note (a file written) stays in the status bar.
constexpr int StatusMessageMs = 15000;

QPushButton *createButton(QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setMaximumWidth(ButtonMaximumWidth);
    button->setMinimumHeight(ButtonMinimumHeight);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

QAction *createAction(QObject *parent, const char *name)
{
    auto *action = new QAction(parent);
    action->setObjectName(QLatin1String(name));
    return action;
}

QMenu *createMenu(QWidget *parent, const char *name, const QList<QAction *> &actions)
{
    auto *menu = new QMenu(parent);
    menu->setObjectName(QLatin1String(name));
    menu->addActions(actions);
    return menu;
}

// Device facts can stand in the status texts: never read as markup. A text
// that can be long is cut to the room it gets, and whole in its tooltip.
template<typename Label = ElidedLabel> Label *createStatusLabel(QWidget *parent, const char *name)
{
    auto *label = new Label(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

// The widest text an IP address, net mask or gateway cell can show.
const char WidestAddressText[] = "255.255.255.255";

// Six pairs of the font's widest hex digit: in many fonts A-F are wider than 0-9.
QString widestMacText(const QFontMetricsF &metrics)
{
    QChar widest = QLatin1Char('0');
    for (const QChar digit : QStringLiteral("0123456789ABCDEF")) {
        if (metrics.horizontalAdvance(digit) > metrics.horizontalAdvance(widest))
            widest = digit;
    }
    const QString pair(2, widest);
    return QStringList { pair, pair, pair, pair, pair, pair }.join(QLatin1Char(':'));
}

} // namespace

MainWindow::MainWindow(MySocket *endpoint, QWidget *parent)
    : QMainWindow(parent)
    , endpoint(endpoint)
{
    setWindowTitle(QStringLiteral("Nesdrix"));
    applyStoredLanguage();
    initUi();
    restoreViewState();
    if (!endpoint)
        return;
    connect(endpoint, &MySocket::deviceReplied, this, &MainWindow::tranlateUdpRawFrameSlot);
    scanRun = new ScanRun(endpoint, this);
    connect(scanRun, &ScanRun::trySent, this, &MainWindow::showScanStatus);
    // "No device answered" waits as long after the last try as after the first.
    connect(scanRun, &ScanRun::finished, answerWait, qOverload<>(&QTimer::start));
    // Told once the window is on the screen, so that the box stands over it.
    bindFailurePending = !endpoint->isBound();
    if (endpoint->isBound() && endpoint->isReceiveBufferCapped())
        QTimer::singleShot(0, this, &MainWindow::reportReceiveBufferLimit);
    startScan();
}

MainWindow::~MainWindow()
{
    endRowFlash();
    removeTranslator();
}

QIcon MainWindow::applicationIcon()
{
    return QIcon(QStringLiteral(":/images/Nesdrix.ico"));
}

void MainWindow::initUi()
{
    if (!widgetsBuilt) {
        widgetsBuilt = true;
        buildWidgets();
    }
    retranslateUi();
}

void MainWindow::startScan()
{
    {
        const QScopedValueRollback<bool> clearing(programMovesCurrent, true);
        deviceList->clear();
    }
    // Replies read before the scan request belong to the list just cleared.
    pendingDevices.clear();
    chosenDevice = QPersistentModelIndex();
    if (scanRun) {
        // The port may have come free, or the privilege been granted, since.
        endpoint->retryBind();
        scanRun->start();
        answerWait->start();
    }
    showScanStatus();
    showLeftOutCount();
    showConflicts();
}

void MainWindow::buildWidgets()
{
    // Each language is named in its own language, never translated.
    chineseAction = new QAction(QStringLiteral("中文"), this);
    chineseAction->setObjectName(QStringLiteral("chineseAction"));
    chineseAction->setCheckable(true);
    englishAction = new QAction(QStringLiteral("English"), this);
    englishAction->setObjectName(QStringLiteral("englishAction"));
    englishAction->setCheckable(true);
    connect(chineseAction, &QAction::triggered, this, &MainWindow::chineseActionSlot);
    connect(englishAction, &QAction::triggered, this, &MainWindow::englishActionSlot);
    // The check mark names the language shown: only a stored "Chinese" shows Chinese.
    const bool chinese = LanguageSettings::storedLanguage() == LanguageSettings::Chinese;
    chineseAction->setChecked(chinese);
    englishAction->setChecked(!chinese);

    aboutAction = createAction(this, "aboutAction");
    infoAction = createAction(this, "infoAction");
    connect(aboutAction, &QAction::triggered, this, &MainWindow::aboutActionSlot);
    connect(infoAction, &QAction::triggered, this, &MainWindow::infoActionSlot);
    exportAction = createAction(this, "exportAction");
    connect(exportAction, &QAction::triggered, this, &MainWindow::exportListSlot);
    buildFileActions();

    compareAction = createAction(this, "compareAction");
    connect(compareAction, &QAction::triggered, this, &MainWindow::compareListSlot);
    stopCompareAction = createAction(this, "stopCompareAction");
    stopCompareAction->setEnabled(false);
    connect(stopCompareAction, &QAction::triggered, this, &MainWindow::stopComparingSlot);

    fileMenu = createMenu(this, "fileMenu", { refreshAction, exportAction });
    fileMenu->addSeparator();
    fileMenu->addActions({ compareAction, stopCompareAction });
    fileMenu->addSeparator();
    fileMenu->addAction(quitAction);
    languageMenu = createMenu(this, "languageMenu", { chineseAction, englishAction });
    helpMenu = createMenu(this, "helpMenu", { aboutAction, infoAction });
    menuBar()->addMenu(fileMenu);
    menuBar()->addMenu(languageMenu);
    menuBar()->addMenu(helpMenu);
    menuBar()->setStyleSheet(QString::fromLatin1(MenuBarStyle));

    buildTable();
    buildStatusBar();
    buildListActions();

    refreshButton = createButton(this);
    refreshButton->setObjectName(QStringLiteral("refreshButton"));
    connect(refreshButton, &QPushButton::clicked, this, &MainWindow::refreshUserSlot);
    detailButton = createButton(this);
    detailButton->setObjectName(QStringLiteral("detailButton"));
    connect(detailButton, &QPushButton::clicked, this, &MainWindow::cellDoubleClickedSlot);

    // Tab runs the way the eye reads the window: filter, list, then the buttons.
    setTabOrder(filterEdit, tableView);
    setTabOrder(tableView, refreshButton);
    setTabOrder(refreshButton, detailButton);

    auto *tableLayout = new QVBoxLayout;
    tableLayout->addWidget(filterEdit);
    tableLayout->addWidget(tableView);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(refreshButton);
    buttonRow->addWidget(detailButton);
    auto *buttonLayout = new QVBoxLayout;
    buttonLayout->addLayout(buttonRow);
    auto *outerLayout = new QVBoxLayout;
    outerLayout->setContentsMargins(0, 0, 0, 8);
    outerLayout->addLayout(tableLayout);
    outerLayout->addLayout(buttonLayout);
    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    central->setLayout(outerLayout);
    setCentralWidget(central);
}

void MainWindow::buildTable()
{
    deviceList = new DeviceListModel(this);
    shownDevices = new DeviceSortFilterModel(deviceList, this);
    tableView = new QTableView(this);
    tableView->setObjectName(QStringLiteral("tableWidget"));
    tableView->setModel(shownDevices);
    tableView->setItemDelegate(new DeviceCellDelegate(tableView));
    tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableView->setSelectionMode(QAbstractItemView::SingleSelection);
    tableView->setColumnHidden(PlcPointsColumn, true);
    // Shown from the header's menu where a computer has more than one network,
    // beside the address it says the network of.
    tableView->setColumnHidden(AdapterColumn, true);
    QHeaderView *header = tableView->horizontalHeader();
    header->moveSection(header->visualIndex(AdapterColumn), IpAddressColumn + 1);
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QWidget::customContextMenuRequested, this, &MainWindow::showColumnMenuSlot);
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    connect(header, &QHeaderView::sectionClicked, this, &MainWindow::sortByColumnSlot);
    connect(tableView, &QTableView::doubleClicked, this, &MainWindow::cellDoubleClickedSlot);
    connect(tableView->selectionModel(), &QItemSelectionModel::currentChanged, this,
        &MainWindow::noteCurrentRowChange);
    connect(deviceList, &QAbstractItemModel::rowsRemoved, this, &MainWindow::updateShownCount);

    filterEdit = new QLineEdit(this);
    filterEdit->setObjectName(QStringLiteral("filterEdit"));
    filterEdit->setClearButtonEnabled(true);
    connect(filterEdit, &QLineEdit::textChanged, this, &MainWindow::filterChangedSlot);
    auto *clearFilter = new QAction(filterEdit);
    clearFilter->setShortcut(Qt::Key_Escape);
    clearFilter->setShortcutContext(Qt::WidgetShortcut);
    // Escape empties the field, and on an empty field goes back to the list.
    connect(clearFilter, &QAction::triggered, this, [this] {
        if (filterEdit->text().isEmpty())
            tableView->setFocus(Qt::ShortcutFocusReason);
        else
            filterEdit->clear();
    });
    filterEdit->addAction(clearFilter);
}

void MainWindow::buildFileActions()
{
    refreshAction = createAction(this, "refreshAction");
    refreshAction->setShortcuts(QKeySequence::Refresh);
    connect(refreshAction, &QAction::triggered, this, &MainWindow::refreshUserSlot);
    // Not QKeySequence::Quit, which Windows leaves empty.
    quitAction = createAction(this, "quitAction");
    quitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    quitAction->setMenuRole(QAction::QuitRole);
    connect(quitAction, &QAction::triggered, this, &QWidget::close);
}

void MainWindow::buildStatusBar()
{
    // Long enough for any device to answer a scan; then an empty list is news.
    answerWait = new QTimer(this);
    answerWait->setSingleShot(true);
    answerWait->setInterval(AnswerWaitMs);
    connect(answerWait, &QTimer::timeout, this, &MainWindow::showScanStatus);
    setStatusBar(new ElidingStatusBar(this));
    // Labels of their own: the status bar's message is wiped by every menu tip.
    // The short count is never cut; the others share what room is left.
    scanStatusLabel = createStatusLabel(this, "scanStatusLabel");
    statusBar()->addWidget(scanStatusLabel, 1);
    shownCountLabel = createStatusLabel<QLabel>(this, "shownCountLabel");
    statusBar()->addPermanentWidget(shownCountLabel);
    conflictLabel = createStatusLabel(this, "conflictLabel");
    conflictLabel->setStyleSheet(QStringLiteral("color: red;"));
    conflictLabel->hide();
    statusBar()->addPermanentWidget(conflictLabel);
    leftOutLabel = createStatusLabel(this, "leftOutLabel");
    leftOutLabel->hide();
    statusBar()->addPermanentWidget(leftOutLabel);
    comparisonLabel = createStatusLabel(this, "comparisonLabel");
    comparisonLabel->hide();
    statusBar()->addPermanentWidget(comparisonLabel);
    connect(shownDevices->comparison(), &DeviceComparisonModel::countsChanged, this,
        &MainWindow::showComparisonCounts);
    writeStatusLabel = createStatusLabel(this, "writeStatusLabel");
    writeStatusLabel->hide();
    statusBar()->addWidget(writeStatusLabel, 1);
}

void MainWindow::buildListActions()
{
    copyMacAction = createAction(this, "copyMacAction");
    connect(copyMacAction, &QAction::triggered, this, &MainWindow::copyMacSlot);
    copyIpAction = createAction(this, "copyIpAction");
    connect(copyIpAction, &QAction::triggered, this, &MainWindow::copyIpSlot);
    copyRowAction = createAction(this, "copyRowAction");
    copyRowAction->setShortcut(QKeySequence::Copy);
    copyRowAction->setShortcutContext(Qt::WidgetShortcut);
    connect(copyRowAction, &QAction::triggered, this, &MainWindow::copyRowSlot);
    tableView->addAction(copyRowAction);
    auto *findAction = createAction(this, "findAction");
    findAction->setShortcuts(QKeySequence::Find);
    connect(findAction, &QAction::triggered, this, [this] {
        filterEdit->setFocus(Qt::ShortcutFocusReason);
        filterEdit->selectAll();
    });
    addAction(findAction);
    // Enter on a row opens it, as a double-click does.
    openAction = createAction(this, "openAction");
    openAction->setShortcuts({ QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter) });
    openAction->setShortcutContext(Qt::WidgetShortcut);
    connect(openAction, &QAction::triggered, this, &MainWindow::cellDoubleClickedSlot);
    tableView->addAction(openAction);

    flashAction = createAction(this, "flashAction");
    connect(flashAction, &QAction::triggered, this, &MainWindow::flashLedsSlot);

    rowMenu = createMenu(this, "rowMenu", { flashAction, openAction });
    rowMenu->addSeparator();
    rowMenu->addActions({ copyMacAction, copyIpAction, copyRowAction });
    rowMenu->addSeparator();
    rowMenu->addAction(exportAction);
    tableView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tableView, &QWidget::customContextMenuRequested, this, &MainWindow::showRowMenuSlot);
}

void MainWindow::fitColumnsToFont()
{
    // From the font, not from the rows: measuring every row would slow a burst.
    // Polished first: a platform theme gives item views and headers their own
    // font only then.
    tableView->ensurePolished();
    tableView->horizontalHeader()->ensurePolished();
    tableView->verticalHeader()->ensurePolished();
    const QFontMetricsF metrics(tableView->font());
    // The text's margins on both sides, and the grid line the cell gives up.
    const int cellMargins = 1
        + 2
            * (tableView->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tableView)
                + 1);
    const int addressWidth
        = qCeil(metrics.horizontalAdvance(QLatin1String(WidestAddressText))) + cellMargins;
    const int macWidth = qCeil(metrics.horizontalAdvance(widestMacText(metrics))) + cellMargins;
    const QHeaderView *header = tableView->horizontalHeader();
    for (int column = 0; column < PlcPointsColumn; ++column) {
        int width = qMax(header->defaultSectionSize(), header->sectionSizeHint(column));
        if (column == IpAddressColumn || column == NetMaskColumn || column == GateWayColumn)
            width = qMax(width, addressWidth);
        if (column == MacAddressColumn)
            width = std::max({ width, macWidth, WideColumnWidth });
        if (column == DeviceVersionColumn)
            width = qMax(width, WideColumnWidth);
        tableView->setColumnWidth(column, width);
    }
}

QSize MainWindow::startSize() const
{
    int columnsWidth = 0;
    for (int column = 0; column < shownDevices->columnCount(); ++column) {
        if (!tableView->isColumnHidden(column))
            columnsWidth += tableView->columnWidth(column);
    }
    const QStyle *style = tableView->style();
    // Room for four-digit row numbers and for the scroll bar of a long list.
    const int rowNumbersWidth
        = tableView->verticalHeader()->fontMetrics().horizontalAdvance(QStringLiteral("9999"))
        + 2 * style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, tableView) + 1;
    const int scrollBarWidth = style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, tableView);
    const int tableWidth
        = columnsWidth + rowNumbersWidth + scrollBarWidth + 2 * tableView->frameWidth();
    // The filter field and the status bar take no height from the table.
    const int addedHeight = filterEdit->sizeHint().height() + statusBar()->sizeHint().height();
    const QSize wanted(
        qMax(SmallestStartSize.width(), tableWidth), SmallestStartSize.height() + addedHeight);
    return wanted.boundedTo(screenRoom());
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // The list has the keys first: arrows and Enter work at once. Tab order
    // alone would give the filter, the first field from the top.
    if (!event->spontaneous() && !focusWidget())
        tableView->setFocus(Qt::OtherFocusReason);
    if (bindFailurePending && windowHandle())
        windowHandle()->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Before its first exposure a window may still wait for the window manager
    // to place it, and a box centred on it would open in the screen's corner.
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()
        && bindFailurePending) {
        bindFailurePending = false;
        windowHandle()->removeEventFilter(this);
        QTimer::singleShot(0, this, &MainWindow::reportBindFailure);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    saveViewState();
    QMainWindow::closeEvent(event);
}

QSize MainWindow::screenRoom() const
{
    // The window manager's frame is not known before the window is shown: the
    // title bar's height and a border on each side are left for it.
    const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    return screen()->availableGeometry().size() - QSize(2 * border, titleBar + 2 * border);
}

void MainWindow::saveViewState() const
{
    // Beside the language choice; columns by name, so that a column added in a
    // later version neither takes nor shifts another one's width.
    QSettings settings(LanguageSettings::settingsFilePath(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("MainWindow"));
    settings.setValue(QStringLiteral("size"), size());
    QStringList hidden;
    settings.beginGroup(QStringLiteral("columnWidths"));
    for (int column = 0; column < ColumnCount; ++column) {
        const QString key = DeviceListModel::columnKey(column);
        if (tableView->isColumnHidden(column))
            hidden << key;
        else
            settings.setValue(key, tableView->columnWidth(column));
    }
    settings.endGroup();
    settings.setValue(QStringLiteral("hiddenColumns"), hidden);
    const int sortColumn = shownDevices->sortColumn();
    settings.setValue(QStringLiteral("sortColumn"),
        sortColumn >= 0 ? DeviceListModel::columnKey(sortColumn) : QString());
    settings.setValue(QStringLiteral("sortDescending"),
        sortColumn >= 0 && shownDevices->sortOrder() == Qt::DescendingOrder);
}

void MainWindow::restoreViewState()
{
    QSettings settings(LanguageSettings::settingsFilePath(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("MainWindow"));
    const QStringList hidden = settings.value(QStringLiteral("hiddenColumns")).toStringList();
    const bool hiddenStored = settings.contains(QStringLiteral("hiddenColumns"));
    settings.beginGroup(QStringLiteral("columnWidths"));
    const int smallest = tableView->horizontalHeader()->minimumSectionSize();
    for (int column = 0; column < ColumnCount; ++column) {
        const QString key = DeviceListModel::columnKey(column);
        if (hiddenStored)
            tableView->setColumnHidden(column, hidden.contains(key));
        const int width = settings.value(key).toInt();
        if (width > 0)
            tableView->setColumnWidth(column, qMax(width, smallest));
    }
    settings.endGroup();
    const int sortColumn
        = DeviceListModel::columnOfKey(settings.value(QStringLiteral("sortColumn")).toString());
    if (sortColumn >= 0) {
        const Qt::SortOrder order = settings.value(QStringLiteral("sortDescending")).toBool()
            ? Qt::DescendingOrder
            : Qt::AscendingOrder;
        shownDevices->sort(sortColumn, order);
        tableView->horizontalHeader()->setSortIndicator(sortColumn, order);
    }
    // The size the user left, as far as the screen takes it now: a smaller
    // screen or a larger scale factor must not push the window off it.
    const QSize stored = settings.value(QStringLiteral("size")).toSize();
    resize(stored.isValid() ? stored.boundedTo(screenRoom()) : startSize());
}

void MainWindow::retranslateUi()
{
    aboutAction->setText(tr("&About"));
    infoAction->setText(tr("Host &Info"));
    fileMenu->setTitle(tr("&File"));
    refreshAction->setText(tr("&Refresh User List"));
    exportAction->setText(tr("&Export List..."));
    compareAction->setText(tr("&Compare with Saved List..."));
    stopCompareAction->setText(tr("&Stop Comparing"));
    quitAction->setText(tr("&Quit"));
    languageMenu->setTitle(tr("&Language"));
    helpMenu->setTitle(tr("&Help"));
    openAction->setText(tr("Change IP..."));
    flashAction->setText(tr("Flash LEDs"));
    deviceList->retranslate();
    refreshButton->setText(tr("Refresh User List"));
    detailButton->setText(tr("Get Detailed Info"));
    filterEdit->setPlaceholderText(tr("Filter"));
    copyMacAction->setText(tr("Copy MAC Address"));
    copyIpAction->setText(tr("Copy IP Address"));
    copyRowAction->setText(tr("Copy Row"));
    updateShownCount();
    {
        const QScopedValueRollback<bool> sorting(programMovesCurrent, true);
        shownDevices->setSortLocale(
            translator ? QLocale(QLocale::Chinese, QLocale::China) : QLocale());
    }
    fitColumnsToFont();
    showScanStatus();
    showLeftOutCount();
    showComparisonCounts();
    showConflicts();
}

void MainWindow::applyStoredLanguage()
{
    if (LanguageSettings::storedLanguage() == LanguageSettings::Chinese)
        installChineseTranslator();
}

void MainWindow::installChineseTranslator()
{
    translator = new QTranslator;
    // A missing catalogue leaves a translator that translates nothing.
    static_cast<void>(translator->load(LanguageSettings::catalogueFilePath()));
    QCoreApplication::installTranslator(translator);
    // Qt's own texts: the file dialog, standard buttons, the fields' context menu.
    qtTranslator = new QTranslator;
    if (qtTranslator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
            QStringLiteral("_"), LanguageSettings::qtCatalogueFolder()))
        QCoreApplication::installTranslator(qtTranslator);
}

void MainWindow::removeTranslator()
{
    for (QTranslator **installed : { &translator, &qtTranslator }) {
        // Cleared first: the removal retranslates the window at once, in English.
        QTranslator *removed = std::exchange(*installed, nullptr);
        if (!removed)
            continue;
        QCoreApplication::removeTranslator(removed);
        delete removed;
    }
}

void MainWindow::chineseActionSlot()
{
    chineseAction->setChecked(true);
    englishAction->setChecked(false);
    removeTranslator();
    installChineseTranslator();
    LanguageSettings::storeLanguage(LanguageSettings::Chinese);
}

void MainWindow::englishActionSlot()
{
    chineseAction->setChecked(false);
    englishAction->setChecked(true);
    removeTranslator();
    LanguageSettings::storeLanguage(LanguageSettings::English);
}

void MainWindow::changeEvent(QEvent *event)
{
    // Every installed or removed catalogue comes here, whoever changed it.
    if (event->type() == QEvent::LanguageChange && widgetsBuilt)
        retranslateUi();
    QMainWindow::changeEvent(event);
}

void MainWindow::infoActionSlot()
{
    Info dialog(this);
    dialog.exec();
}

void MainWindow::aboutActionSlot()
{
    About dialog(this);
    dialog.exec();
}

void MainWindow::refreshUserSlot()
{
    // The tries still pending would draw answers into the list of the scan to come.
    if (scanRun)
        scanRun->cancel();
    deviceList->clear();
    // A fixed pause before the request, not a wait for answers: replies to an
    // earlier request that come in meanwhile are cleared again by startScan.
    ProcessDialog dialog(this);
    dialog.exec();
    startScan();
}

void MainWindow::cellDoubleClickedSlot()
{
    // A selection without a current row has no row to open.
    const QModelIndex current = tableView->currentIndex();
    if (deviceList->rowCount() == 0) {
        showWarning(this, tr("error!"), tr("No Devices!"), tr("OK"));
        return;
    }
    if (!tableView->selectionModel()->hasSelection() || !current.isValid()) {
        showWarning(this, tr("error!"),
            tr("Select a device in the list first (the filter may hide the one you want)."),
            tr("OK"));
        return;
    }
    if (shownDevices->comparison()->isMissing(shownDevices->mapToSource(current).row())) {
        showWarning(this, tr("error!"),
            tr("This device of the saved list did not answer the scan: it cannot be opened."),
            tr("OK"));
        return;
    }
    // The opened device is taken once: a reply listed while its dialog is open
    // moves the current row, but must not redirect the flashing, the stop or the write.
    const DeviceRecord device = shownDevices->record(current);
    const bool ipShared = deviceList->sharesIp(device);
    // Both released as soon as the dialog closes, so repeated openings leave
    // nothing behind. The dialog is made before the first flash, so that it can
    // tell when that cannot be sent.
    SubDeviceInfo dialog(device, this, endpoint, ipShared);
    const int listedRow = shownDevices->mapToSource(current).row();
    QStringList conflicts
        = { deviceList->ipConflictText(listedRow), deviceList->macConflictText(listedRow) };
    conflicts.removeAll(QString());
    dialog.setConflictNote(conflicts.join(QLatin1Char('\n')));
    LedSession leds(endpoint, DeviceTarget::of(device, ipShared), &dialog);
    openedLeds = &leds;
    connect(&leds, &LedSession::sendFailed, &dialog, &SubDeviceInfo::showFlashFailure);
    connect(&leds, &LedSession::sendRecovered, &dialog, &SubDeviceInfo::clearFlashFailure);
    connect(&dialog, &SubDeviceInfo::subPlcWindowClosed, this, &MainWindow::closeSubWindowSlot);
    dialog.setListedDevices([this] { return deviceList->listedRecords(); });
    connect(&dialog, &SubDeviceInfo::settingsWritten, this, &MainWindow::settingsWrittenSlot);
    leds.start();
    dialog.exec();
}

void MainWindow::flashLedsSlot()
{
    const QModelIndex current = tableView->currentIndex();
    if (!current.isValid())
        return;
    // One device at a time: a new flash ends the one before.
    endRowFlash();
    const DeviceRecord device = shownDevices->record(current);
    rowFlash
        = new LedSession(endpoint, DeviceTarget::of(device, deviceList->sharesIp(device)), this);
    const QString who = QStringLiteral("%1 (%2)").arg(device.name(), device.mac.toString());
    if (!rowFlash->start()) {
        statusBar()->showMessage(tr("The LEDs of %1 cannot be flashed: %2. Check the cable and "
                                    "that the network adapter is up.")
                                     .arg(who, rowFlash->errorString()),
            StatusMessageMs);
        endRowFlash();
        return;
    }
    statusBar()->showMessage(
        tr("Flashing the LEDs of %1 for %2 s.").arg(who).arg(RowFlashMs / 1000), RowFlashMs);
    QTimer::singleShot(RowFlashMs, rowFlash, [this] { endRowFlash(); });
}

void MainWindow::endRowFlash()
{
    // With its stop request: a session only deleted would leave the LEDs flashing.
    if (!rowFlash)
        return;
    rowFlash->stop();
    delete rowFlash;
}

void MainWindow::closeSubWindowSlot()
{
    if (openedLeds)
        openedLeds->stop();
}

void MainWindow::settingsWrittenSlot(const DeviceRecord &written, const AddressCheckResult &check)
{
    delete writeConfirmation;
    writeConfirmation = new WriteConfirmation(written, writeConfirmationLimitMs, this);
    writeCheckNote = AddressCheckText::afterWrite(written.ip.toString(), check);
    showWriteStatus(tr("New settings sent to %1: waiting for it to answer at %2...")
                        .arg(written.mac.toString(), written.ip.toString()));
    connect(writeConfirmation, &WriteConfirmation::scanWanted, this, &MainWindow::startScan);
    connect(writeConfirmation, &WriteConfirmation::confirmed, this, [this] {
        const DeviceRecord &device = writeConfirmation->written();
        showWriteStatus(tr("%1 answers at %2 with its new settings.")
                            .arg(device.mac.toString(), device.ip.toString()));
    });
    connect(writeConfirmation, &WriteConfirmation::notSeen, this, [this] {
        const DeviceRecord &device = writeConfirmation->written();
        showWriteStatus(tr("%1 was not seen at %2 yet: it may still be restarting. Press "
                           "Refresh User List to look again.")
                            .arg(device.mac.toString(), device.ip.toString()));
    });
    writeConfirmation->start();
}

void MainWindow::showWriteStatus(const QString &text)
{
    writeStatusLabel->setText(
        writeCheckNote.isEmpty() ? text : writeCheckNote + QLatin1Char(' ') + text);
    writeStatusLabel->show();
}

void MainWindow::tranlateUdpRawFrameSlot(const DeviceRecord &device)
{
    if (writeConfirmation)
        writeConfirmation->offer(device);
    beginListingPass();
    pendingDevices.append(device);
}

void MainWindow::sortByColumnSlot(int column)
{
    {
        const QScopedValueRollback<bool> sorting(programMovesCurrent, true);
        shownDevices->sortByHeaderClick(column);
    }
    tableView->horizontalHeader()->setSortIndicator(
        shownDevices->sortColumn(), shownDevices->sortOrder());
    showChosenDevice();
    tableView->scrollToTop();
}

void MainWindow::filterChangedSlot(const QString &text)
{
    {
        const QScopedValueRollback<bool> filtering(programMovesCurrent, true);
        shownDevices->setFilterText(text);
    }
    updateShownCount();
    showChosenDevice();
}

void MainWindow::copyMacSlot()
{
    copyCurrentDeviceText(MacAddressColumn);
}

void MainWindow::copyIpSlot()
{
    copyCurrentDeviceText(IpAddressColumn);
}

void MainWindow::copyCurrentDeviceText(int column)
{
    const QModelIndex current = tableView->currentIndex();
    if (current.isValid())
        copyText(deviceCellText(shownDevices->record(current), column));
}

void MainWindow::copyRowSlot()
{
    const QModelIndex current = tableView->currentIndex();
    if (!current.isValid())
        return;
    QStringList cells;
    // In the order shown: the adapter stands beside the IP address.
    const QHeaderView *header = tableView->horizontalHeader();
    for (int shown = 0; shown < shownDevices->columnCount(); ++shown) {
        const int column = header->logicalIndex(shown);
        if (!tableView->isColumnHidden(column))
            // A tab or line break in a name would split the row when pasted.
            cells << neutralizedText(current.siblingAtColumn(column).data().toString());
    }
    copyText(cells.join(QLatin1Char('\t')));
}

void MainWindow::copyText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

void MainWindow::showRowMenuSlot(const QPoint &position)
{
    // The press that opened the menu made its row current.
    if (tableView->indexAt(position).isValid())
        rowMenu->popup(tableView->viewport()->mapToGlobal(position));
}

void MainWindow::showColumnMenuSlot(const QPoint &position)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("columnMenu"));
    int shown = 0;
    for (int column = 0; column < ColumnCount; ++column)
        shown += tableView->isColumnHidden(column) ? 0 : 1;
    for (int column = 0; column < ColumnCount; ++column) {
        QAction *action = menu.addAction(DeviceListModel::columnTitle(column));
        action->setCheckable(true);
        action->setChecked(!tableView->isColumnHidden(column));
        // The last column shown stays: a table without columns has no header to bring one back.
        action->setEnabled(!action->isChecked() || shown > 1);
        connect(action, &QAction::toggled, this, [this, column](bool checked) {
            tableView->setColumnHidden(column, !checked);
            if (checked && tableView->columnWidth(column) == 0)
                tableView->resizeColumnToContents(column);
        });
    }
    menu.exec(tableView->horizontalHeader()->viewport()->mapToGlobal(position));
}

void MainWindow::exportListSlot()
{
    const QString suggested = QDir::home().filePath(
        QStringLiteral("nesdrix-devices-%1.csv")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm"))));
    QFileDialog dialog(this, tr("Export List"), suggested, tr("CSV files (*.csv)"));
    dialog.setObjectName(QStringLiteral("exportDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without an extension gets ".csv", and the overwrite question
    // asks about the file that is really written.
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        exportList(dialog.selectedFiles().constFirst());
}

void MainWindow::exportList(const QString &path)
{
    // Written whole or not at all: a failed export leaves no half file behind.
    QSaveFile file(path);
    const DeviceComparisonModel &comparison = *shownDevices->comparison();
    const QVector<int> rows = shownListedRows();
    const QByteArray csv
        = (comparison.isComparing() ? comparedDevicesCsv(*deviceList, comparison, rows)
                                    : devicesCsv(*deviceList, rows))
              .toUtf8();
    if (file.open(QIODevice::WriteOnly) && file.write(csv) == csv.size() && file.commit()) {
        const QString where = QDir::toNativeSeparators(path);
        statusBar()->showMessage(rows.size() == 1
                ? tr("1 device written to %1").arg(where)
                : tr("%1 devices written to %2").arg(rows.size()).arg(where),
            StatusMessageMs);
        return;
    }
    QMessageBox::warning(this, tr("Export List"),
        tr("The list could not be saved as %1: %2.\n\nChoose a folder you can write to, "
           "and a disk with free space, then export again.")
            .arg(QDir::toNativeSeparators(path), file.errorString()));
}

void MainWindow::compareListSlot()
{
    const QString path = QFileDialog::getOpenFileName(this, tr("Compare with Saved List"),
        comparedPath.isEmpty() ? QDir::homePath() : QFileInfo(comparedPath).path(),
        tr("Device lists (*.csv *.json);;All files (*)"));
    if (!path.isEmpty())
        compareWithSavedList(path);
}

bool MainWindow::compareWithSavedList(const QString &path)
{
    QString error;
    const std::optional<Snapshot> saved = readSnapshotFile(path, &error);
    if (!saved) {
        QMessageBox::warning(this, tr("Compare with Saved List"),
            tr("%1\n\nChoose a list that Export List or nesdrix-cli scan --format csv or "
               "json saved.")
                .arg(error));
        return false;
    }
    comparedPath = path;
    {
        const QScopedValueRollback<bool> comparing(programMovesCurrent, true);
        shownDevices->comparison()->compareWith(*saved);
        // A row's selection covers the columns it had: the new one too.
        const QModelIndex current = tableView->currentIndex();
        if (current.isValid())
            tableView->selectionModel()->select(
                current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    // The Change column first, where the eye starts; the model keeps it last.
    QHeaderView *header = tableView->horizontalHeader();
    header->moveSection(header->visualIndex(shownDevices->comparison()->changeColumn()), 0);
    stopCompareAction->setEnabled(true);
    fitColumnsToFont();
    updateShownCount();
    return true;
}

void MainWindow::stopComparingSlot()
{
    {
        const QScopedValueRollback<bool> comparing(programMovesCurrent, true);
        shownDevices->comparison()->stopComparing();
    }
    comparedPath.clear();
    stopCompareAction->setEnabled(false);
    updateShownCount();
}

void MainWindow::showComparisonCounts()
{
    const DeviceComparisonModel *comparison = shownDevices->comparison();
    comparisonLabel->setVisible(comparison->isComparing());
    if (!comparison->isComparing())
        return;
    QString text = tr("%1 new, %2 changed, %3 missing")
                       .arg(comparison->count(DeviceComparisonModel::New))
                       .arg(comparison->count(DeviceComparisonModel::Changed))
                       .arg(comparison->count(DeviceComparisonModel::Missing));
    const int notCompared = comparison->savedCount() - comparison->comparedCount();
    if (notCompared > 0)
        text += QLatin1Char(' ')
            + tr("(%1 more entries of a MAC the saved list names twice were not compared)")
                  .arg(notCompared);
    comparisonLabel->setText(text);
    comparisonLabel->setToolTip(tr("Compared with %1").arg(QDir::toNativeSeparators(comparedPath)));
}

QVector<int> MainWindow::shownListedRows() const
{
    QVector<int> rows;
    rows.reserve(shownDevices->rowCount());
    for (int row = 0; row < shownDevices->rowCount(); ++row)
        rows.append(shownDevices->mapToSource(shownDevices->index(row, 0)).row());
    return rows;
}

void MainWindow::noteCurrentRowChange(const QModelIndex &current)
{
    if (!programMovesCurrent && current.isValid())
        chosenDevice = shownDevices->mapToSource(current);
}

void MainWindow::updateShownCount()
{
    // Missing devices of a compared list are shown, but did not answer.
    int missingShown = 0;
    if (shownDevices->comparison()->isComparing()) {
        for (const int row : shownListedRows())
            missingShown += shownDevices->comparison()->isMissing(row) ? 1 : 0;
    }
    shownCountLabel->setText(tr("%1 of %2 devices shown")
                                 .arg(shownDevices->rowCount() - missingShown)
                                 .arg(deviceList->rowCount()));
}

void MainWindow::showChosenDevice()
{
    const QScopedValueRollback<bool> moving(programMovesCurrent, true);
    QItemSelectionModel *selection = tableView->selectionModel();
    if (!chosenDevice.isValid()) {
        // Until the user picks a device, the top row is current and the list shows its top.
        const QModelIndex top = shownDevices->index(0, qMax(tableView->columnAt(0), 0));
        if (top.isValid() && top != tableView->currentIndex())
            selection->setCurrentIndex(
                top, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        return;
    }
    // The chosen device stays chosen while the filter hides it, and comes back selected.
    const QModelIndex chosen = shownDevices->mapFromSource(chosenDevice);
    if (!chosen.isValid()) {
        selection->clear();
        return;
    }
    selection->setCurrentIndex(
        chosen, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    tableView->scrollTo(chosen);
}

void MainWindow::beginListingPass()
{
    if (listingPass)
        return;
    listingPass = true;
    QMetaObject::invokeMethod(
        this, [this] { endListingPass(); }, Qt::QueuedConnection);
}

void MainWindow::endListingPass()
{
    listingPass = false;
    // A burst brings thousands of replies in one pass. Listed in one
    // insertion, they are painted once, and the filter model maps its rows
    // once rather than once a reply.
    deviceList->appendRecords(std::exchange(pendingDevices, {}));
    updateShownCount();
    showScanStatus();
    // Once per pass too: a flood past the limit would otherwise lay out the
    // status bar for every reply.
    showLeftOutCount();
    showConflicts();
    // A reply must not move the row the user is about to open; until the user
    // picks one, the top row is current.
    if (chosenDevice.isValid())
        return;
    showChosenDevice();
    tableView->scrollToTop();
}

void MainWindow::showScanStatus()
{
    if (!scanRun) {
        scanStatusLabel->clear();
        return;
    }
    // Answers come in meanwhile and are counted beside; the adapters are known
    // once the last try went out.
    if (scanRun->isRunning()) {
        scanStatusLabel->setText(tr("Scanning..."));
        return;
    }
    const ScanReport &lastScan = scanRun->report();
    if (lastScan.notOpen) {
        // Stays after the warning box is gone, until a refresh gets the port.
        scanStatusLabel->setText(
            tr("UDP port 102 could not be opened (%1), so no device can be listed. The README's "
               "\"UDP port 102\" tells how to get it; then press Refresh User List to try "
               "again.")
                .arg(endpoint ? endpoint->bindErrorString() : MySocket::notOpenText()));
        return;
    }
    if (lastScan.noAdapter()) {
        scanStatusLabel->setText(tr("No network adapter is up: connect a cable or bring an "
                                    "adapter up, then press Refresh User List."));
        return;
    }
    const QString scanned = scannedAdaptersText(lastScan);
    QStringList refused;
    for (const ScanAdapter &adapter : lastScan.adapters) {
        if (!adapter.sent)
            refused << QStringLiteral("%1: %2").arg(adapter.name, adapter.error);
    }
    if (scanned.isEmpty()) {
        scanStatusLabel->setText(tr("The scan could not be sent (%1): check the cables and "
                                    "adapters, then press Refresh User List.")
                                     .arg(refused.join(QStringLiteral("; "))));
        return;
    }
    if (deviceList->rowCount() == 0 && !answerWait->isActive()) {
        scanStatusLabel->setText(
            tr("No device answered on %1. Check the cable and the VLAN, that the firewall "
               "lets UDP port 102 in, and rp_filter for devices on another subnet (the "
               "README's \"When nothing answers\" explains each), then press Refresh User "
               "List.")
                .arg(scanned));
        return;
    }
    QString text
        = tr("Scanned on %1. Devices listed: %2.").arg(scanned).arg(deviceList->rowCount());
    if (!refused.isEmpty())
        text += QLatin1Char(' ') + tr("Not sent on %1.").arg(refused.join(QStringLiteral("; ")));
    scanStatusLabel->setText(text);
}

void MainWindow::showConflicts()
{
    // A few addresses by name; a plant full of factory-fresh devices is one count.
    constexpr int NamedConflicts = 3;
    const QVector<DeviceListModel::Conflict> conflicts = deviceList->conflicts();
    QStringList texts;
    for (const DeviceListModel::Conflict &conflict : conflicts.mid(0, NamedConflicts))
        texts << tr("%1 devices share %2").arg(conflict.devices).arg(conflict.address);
    if (conflicts.size() > NamedConflicts)
        texts << tr("%1 more shared addresses").arg(conflicts.size() - NamedConflicts);
    conflictLabel->setText(texts.join(QStringLiteral("; ")));
    conflictLabel->setVisible(!texts.isEmpty());
}

void MainWindow::showLeftOutCount()
{
    const int leftOut = deviceList->leftOutCount();
    leftOutLabel->setVisible(leftOut > 0);
    if (leftOut > 0)
        leftOutLabel->setText(tr("%1 replies left out: a scan lists at most %2 devices")
                                  .arg(leftOut)
                                  .arg(deviceList->maxListed()));
}

void MainWindow::reportBindFailure()
{
    if (endpoint->isBound())
        return;
    QMessageBox::warning(
        this, windowTitle(), bindFailureText(endpoint->bindErrorString(), endpoint->bindAdvice()));
}

void MainWindow::reportReceiveBufferLimit()
{
    // Not modal: the program works, it may only miss devices in a large plant.
    auto *box = new QMessageBox(QMessageBox::Warning, windowTitle(),
        tr("The system gives Nesdrix %1 KiB to hold device replies, not the %2 KiB it asks "
           "for: when many devices answer a scan at once, some of them may not be listed.\n\n"
           "To list every device, raise the limit (on Linux: sudo sysctl -w "
           "net.core.rmem_max=%3, and the same setting in a file in /etc/sysctl.d to keep "
           "it), then start Nesdrix again.")
            .arg(endpoint->receiveBufferBytes() / 1024)
            .arg(MySocket::WantedReceiveBufferBytes / 1024)
            .arg(MySocket::WantedReceiveBufferBytes),
        QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("receiveBufferNotice"));
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}
