// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "mainwindow.h"

#include "about.h"
#include "devicelistmodel.h"
#include "devicetext.h"
#include "globals.h"
#include "info.h"
#include "languagesettings.h"
#include "mysocket.h"
#include "processdialog.h"
#include "subdeviceinfo.h"
#include "warningbox.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QTranslator>
#include <QVBoxLayout>

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

} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Nesdrix"));
    resize(650, 350);
    applyStoredLanguage();
    initUi();

    g_mySocket = new MySocket;
    g_mySocket->initUdpSocket();
    connect(g_mySocket, &MySocket::deviceReplied, this, &MainWindow::tranlateUdpRawFrameSlot);
    if (!g_mySocket->isBound())
        QTimer::singleShot(0, this, &MainWindow::reportBindFailure);
    else if (g_mySocket->isReceiveBufferCapped())
        QTimer::singleShot(0, this, &MainWindow::reportReceiveBufferLimit);
    startScan();
}

MainWindow::~MainWindow()
{
    // The window owns the endpoint for its whole life; nothing may reach either after it.
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
    deviceList->clear();
    lastScan = g_mySocket->udpSendCmdScan();
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

    aboutAction = new QAction(this);
    aboutAction->setObjectName(QStringLiteral("aboutAction"));
    infoAction = new QAction(this);
    infoAction->setObjectName(QStringLiteral("infoAction"));
    connect(aboutAction, &QAction::triggered, this, &MainWindow::aboutActionSlot);
    connect(infoAction, &QAction::triggered, this, &MainWindow::infoActionSlot);

    languageMenu = new QMenu(this);
    languageMenu->setObjectName(QStringLiteral("languageMenu"));
    languageMenu->addAction(chineseAction);
    languageMenu->addAction(englishAction);
    helpMenu = new QMenu(this);
    helpMenu->setObjectName(QStringLiteral("helpMenu"));
    helpMenu->addAction(aboutAction);
    helpMenu->addAction(infoAction);
    menuBar()->addMenu(languageMenu);
    menuBar()->addMenu(helpMenu);
    menuBar()->setStyleSheet(QString::fromLatin1(MenuBarStyle));

    deviceList = new DeviceListModel(this);
    tableView = new QTableView(this);
    tableView->setObjectName(QStringLiteral("tableWidget"));
    tableView->setModel(deviceList);
    tableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    tableView->setSelectionMode(QAbstractItemView::SingleSelection);
    tableView->setColumnWidth(MacAddressColumn, WideColumnWidth);
    tableView->setColumnWidth(DeviceVersionColumn, WideColumnWidth);
    tableView->setColumnHidden(PlcPointsColumn, true);
    connect(tableView, &QTableView::doubleClicked, this, &MainWindow::cellDoubleClickedSlot);

    refreshButton = createButton(this);
    refreshButton->setObjectName(QStringLiteral("refreshButton"));
    connect(refreshButton, &QPushButton::clicked, this, &MainWindow::refreshUserSlot);
    detailButton = createButton(this);
    detailButton->setObjectName(QStringLiteral("detailButton"));
    connect(detailButton, &QPushButton::clicked, this, &MainWindow::cellDoubleClickedSlot);

    auto *tableLayout = new QVBoxLayout;
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

    // A label of its own: the status bar's message is wiped by every menu tip.
    scanStatusLabel = new QLabel(this);
    scanStatusLabel->setObjectName(QStringLiteral("scanStatusLabel"));
    scanStatusLabel->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(scanStatusLabel, 1);

    leftOutLabel = new QLabel(this);
    leftOutLabel->setObjectName(QStringLiteral("leftOutLabel"));
    leftOutLabel->setTextFormat(Qt::PlainText);
    leftOutLabel->hide();
    statusBar()->addPermanentWidget(leftOutLabel);
}

void MainWindow::retranslateUi()
{
    aboutAction->setText(tr("About"));
    infoAction->setText(tr("Host Info"));
    languageMenu->setTitle(tr("Language"));
    helpMenu->setTitle(tr("Help"));
    deviceList->retranslate();
    refreshButton->setText(tr("Refresh User List"));
    detailButton->setText(tr("Get Detailed Info"));
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
    const DeviceRecord device = deviceList->record(current.row());
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
    if (deviceList->append(device))
        selectListedRow(deviceList->rowCount() - 1);
}

void MainWindow::selectListedRow(int row)
{
    // The selection is the table's state at once; the view catches up once per
    // pass (endListingPass): told of every row, it would lay out the whole
    // table to scroll to each one.
    const QSignalBlocker viewNotTold(tableView->selectionModel());
    tableView->selectionModel()->setCurrentIndex(
        deviceList->index(row, qMax(tableView->columnAt(0), 0)),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void MainWindow::beginListingPass()
{
    if (listingPass)
        return;
    listingPass = true;
    // A burst appends thousands of rows in one pass: painting each would cost
    // more than listing it.
    tableView->setUpdatesEnabled(false);
    QMetaObject::invokeMethod(
        this, [this] { endListingPass(); }, Qt::QueuedConnection);
}

void MainWindow::endListingPass()
{
    listingPass = false;
    tableView->setUpdatesEnabled(true);
    tableView->scrollTo(tableView->currentIndex());
    showScanStatus();
    // Once per pass too: a flood past the limit would otherwise lay out the
    // status bar for every reply.
    showLeftOutCount();
}

void MainWindow::showScanStatus()
{
    if (!lastScan) {
        scanStatusLabel->clear();
        return;
    }
    if (lastScan->noAdapter()) {
        scanStatusLabel->setText(tr("No network adapter is up: connect a cable or bring an "
                                    "adapter up, then press Refresh User List."));
        return;
    }
    QStringList scanned;
    QStringList refused;
    for (const ScanAdapter &adapter : lastScan->adapters) {
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
