// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "mainwindow.h"

#include "about.h"
#include "devicecsv.h"
#include "devicelistmodel.h"
#include "devicesortfilter.h"
#include "devicetext.h"
#include "globals.h"
#include "info.h"
#include "languagesettings.h"
#include "mysocket.h"
#include "processdialog.h"
#include "safetext.h"
#include "scanrun.h"
#include "subdeviceinfo.h"
#include "warningbox.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
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
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTimer>
#include <QTranslator>
#include <QVBoxLayout>
#include <QtMath>

#include <algorithm>

MySocket *g_mySocket = nullptr;

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

// "plant 192.0.2.1/24, 192.0.2.2/24"
QString adapterText(const ScanAdapter &adapter)
{
    QStringList addresses;
    for (const InterfaceAddress &address : adapter.addresses)
        addresses << QStringLiteral("%1/%2").arg(address.ip.toString()).arg(address.prefixLength);
    return adapter.name + QLatin1Char(' ') + addresses.join(QStringLiteral(", "));
}

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

// Device facts can stand in the status texts: never read as markup.
QLabel *createStatusLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
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

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Nesdrix"));
    applyStoredLanguage();
    initUi();
    resize(startSize());

    g_mySocket = new MySocket;
    g_mySocket->initUdpSocket();
    connect(g_mySocket, &MySocket::deviceReplied, this, &MainWindow::tranlateUdpRawFrameSlot);
    scanRun = new ScanRun(g_mySocket, this);
    connect(scanRun, &ScanRun::trySent, this, &MainWindow::showScanStatus);
    if (!g_mySocket->isBound())
        QTimer::singleShot(0, this, &MainWindow::reportBindFailure);
    else if (g_mySocket->isReceiveBufferCapped())
        QTimer::singleShot(0, this, &MainWindow::reportReceiveBufferLimit);
    startScan();
}

MainWindow::~MainWindow()
{
    // The window owns the endpoint for its whole life; nothing may reach either after it.
    scanRun->cancel();
    delete g_mySocket;
    g_mySocket = nullptr;
    delete translator;
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
    userChoseRow = false;
    scanRun->start();
    showScanStatus();
    showLeftOutCount();
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

    fileMenu = createMenu(this, "fileMenu", { exportAction });
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
    tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableView->setSelectionMode(QAbstractItemView::SingleSelection);
    tableView->setColumnHidden(PlcPointsColumn, true);
    QHeaderView *header = tableView->horizontalHeader();
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
    connect(clearFilter, &QAction::triggered, filterEdit, &QLineEdit::clear);
    filterEdit->addAction(clearFilter);
}

void MainWindow::buildStatusBar()
{
    // Labels of their own: the status bar's message is wiped by every menu tip.
    scanStatusLabel = createStatusLabel(this, "scanStatusLabel");
    statusBar()->addWidget(scanStatusLabel, 1);
    shownCountLabel = createStatusLabel(this, "shownCountLabel");
    statusBar()->addPermanentWidget(shownCountLabel);
    leftOutLabel = createStatusLabel(this, "leftOutLabel");
    leftOutLabel->hide();
    statusBar()->addPermanentWidget(leftOutLabel);
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

    rowMenu = createMenu(this, "rowMenu", { copyMacAction, copyIpAction, copyRowAction });
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
    for (int column = 0; column < ColumnCount; ++column) {
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
    return wanted.boundedTo(screen()->availableGeometry().size());
}

void MainWindow::retranslateUi()
{
    aboutAction->setText(tr("About"));
    infoAction->setText(tr("Host Info"));
    fileMenu->setTitle(tr("File"));
    exportAction->setText(tr("Export List..."));
    languageMenu->setTitle(tr("Language"));
    helpMenu->setTitle(tr("Help"));
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
}

void MainWindow::removeTranslator()
{
    if (!translator)
        return;
    QCoreApplication::removeTranslator(translator);
    delete translator;
    translator = nullptr;
}

void MainWindow::chineseActionSlot()
{
    chineseAction->setChecked(true);
    englishAction->setChecked(false);
    removeTranslator();
    installChineseTranslator();
    LanguageSettings::storeLanguage(LanguageSettings::Chinese);
    initUi();
}

void MainWindow::englishActionSlot()
{
    chineseAction->setChecked(false);
    englishAction->setChecked(true);
    removeTranslator();
    LanguageSettings::storeLanguage(LanguageSettings::English);
    initUi();
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
    if (!tableView->selectionModel()->hasSelection() || !current.isValid()) {
        showWarning(this, tr("error!"), tr("No Devices!"), tr("OK"));
        return;
    }
    // The opened device is taken once: a reply listed while its dialog is open
    // moves the current row, but must not redirect the flashing, the stop or the write.
    const DeviceRecord device = shownDevices->record(current);
    // Released as soon as it closes, so repeated openings leave nothing behind.
    // Made before the first flash, so that it can tell when that cannot be sent.
    SubDeviceInfo dialog(device, this);
    connect(&dialog, &SubDeviceInfo::subPlcWindowClosed, this, &MainWindow::closeSubWindowSlot);
    g_mySocket->setDevice(device);
    openedDeviceMac = device.mac;
    g_mySocket->udpSendCmdLedsFlash(openedDeviceMac);
    g_mySocket->startLedsFlashTimer();
    dialog.exec();
}

void MainWindow::closeSubWindowSlot()
{
    g_mySocket->udpSendCmdLedsStop(openedDeviceMac);
    g_mySocket->stopLedsFlashTimer();
}

void MainWindow::tranlateUdpRawFrameSlot(const DeviceRecord &device)
{
    beginListingPass();
    pendingDevices.append(device);
}

void MainWindow::sortByColumnSlot(int column)
{
    const QScopedValueRollback<bool> sorting(programMovesCurrent, true);
    shownDevices->sortByHeaderClick(column);
    tableView->horizontalHeader()->setSortIndicator(
        shownDevices->sortColumn(), shownDevices->sortOrder());
    tableView->scrollTo(tableView->currentIndex());
}

void MainWindow::filterChangedSlot(const QString &text)
{
    {
        const QScopedValueRollback<bool> filtering(programMovesCurrent, true);
        shownDevices->setFilterText(text);
    }
    updateShownCount();
    tableView->scrollTo(tableView->currentIndex());
}

void MainWindow::copyMacSlot()
{
    copyCurrentDeviceText(&DeviceRecord::mac);
}

void MainWindow::copyIpSlot()
{
    copyCurrentDeviceText(&DeviceRecord::ip);
}

void MainWindow::copyCurrentDeviceText(QString DeviceRecord::*text)
{
    const QModelIndex current = tableView->currentIndex();
    if (current.isValid())
        copyText(shownDevices->record(current).*text);
}

void MainWindow::copyRowSlot()
{
    const QModelIndex current = tableView->currentIndex();
    if (!current.isValid())
        return;
    QStringList cells;
    for (int column = 0; column < ColumnCount; ++column) {
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

void MainWindow::exportListSlot()
{
    const QString suggested = QDir::home().filePath(
        QStringLiteral("nesdrix-devices-%1.csv")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmm"))));
    const QString path
        = QFileDialog::getSaveFileName(this, tr("Export List"), suggested, tr("CSV files (*.csv)"));
    if (!path.isEmpty())
        exportList(path);
}

void MainWindow::exportList(const QString &path)
{
    // Written whole or not at all: a failed export leaves no half file behind.
    QSaveFile file(path);
    const QByteArray csv = devicesCsv(*deviceList, shownListedRows()).toUtf8();
    if (file.open(QIODevice::WriteOnly) && file.write(csv) == csv.size() && file.commit())
        return;
    QMessageBox::warning(this, tr("Export List"),
        tr("The list could not be saved as %1: %2.\n\nChoose a folder you can write to, "
           "and a disk with free space, then export again.")
            .arg(QDir::toNativeSeparators(path), file.errorString()));
}

QVector<int> MainWindow::shownListedRows() const
{
    QVector<int> rows;
    rows.reserve(shownDevices->rowCount());
    for (int row = 0; row < shownDevices->rowCount(); ++row)
        rows.append(shownDevices->mapToSource(shownDevices->index(row, 0)).row());
    return rows;
}

void MainWindow::noteCurrentRowChange()
{
    if (!programMovesCurrent)
        userChoseRow = true;
}

void MainWindow::updateShownCount()
{
    shownCountLabel->setText(
        tr("%1 of %2 devices shown").arg(shownDevices->rowCount()).arg(deviceList->rowCount()));
}

void MainWindow::selectListedRow(int row)
{
    // Not told to the view, which scrolls once the pass ends (endListingPass),
    // nor taken for the user's choice of a row.
    const QModelIndex shown = shownDevices->indexOfListedRow(row, qMax(tableView->columnAt(0), 0));
    if (!shown.isValid())
        return;
    const QSignalBlocker viewNotTold(tableView->selectionModel());
    tableView->selectionModel()->setCurrentIndex(
        shown, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
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
    // Until the user picks a row, the newest row is current and in view; after
    // that, a reply must not move the row the user is about to open.
    if (userChoseRow)
        return;
    selectListedRow(deviceList->rowCount() - 1);
    // The scroll range must take the new rows in before the view can scroll to one.
    tableView->doItemsLayout();
    tableView->scrollTo(tableView->currentIndex());
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
    if (lastScan.noAdapter()) {
        scanStatusLabel->setText(tr("No network adapter is up: connect a cable or bring an "
                                    "adapter up, then press Refresh User List."));
        return;
    }
    QStringList scanned;
    QStringList refused;
    for (const ScanAdapter &adapter : lastScan.adapters) {
        if (adapter.sent)
            scanned << adapterText(adapter);
        else
            refused << QStringLiteral("%1: %2").arg(adapter.name, adapter.error);
    }
    if (scanned.isEmpty()) {
        scanStatusLabel->setText(tr("The scan could not be sent (%1): check the cables and "
                                    "adapters, then press Refresh User List.")
                                     .arg(refused.join(QStringLiteral("; "))));
        return;
    }
    QString text = tr("Scanned on %1. Devices listed: %2.")
                       .arg(scanned.join(QStringLiteral("; ")))
                       .arg(deviceList->rowCount());
    if (!refused.isEmpty())
        text += QLatin1Char(' ') + tr("Not sent on %1.").arg(refused.join(QStringLiteral("; ")));
    scanStatusLabel->setText(text);
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
    QMessageBox::warning(this, windowTitle(), bindFailureText(g_mySocket->bindErrorString()));
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
            .arg(g_mySocket->receiveBufferBytes() / 1024)
            .arg(MySocket::WantedReceiveBufferBytes / 1024)
            .arg(MySocket::WantedReceiveBufferBytes),
        QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("receiveBufferNotice"));
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}
