// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "mysocket.h"

#include <QIcon>
#include <QMainWindow>
#include <QString>

#include <optional>

class DeviceListModel;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTableView;
class QTranslator;
struct DeviceRecord;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    // The icon of every window of the program; the program links the image bundle.
    static QIcon applicationIcon();

    void initUi();
    void startScan();

private slots:
    void chineseActionSlot();
    void englishActionSlot();
    void infoActionSlot();
    void aboutActionSlot();
    void refreshUserSlot();
    void cellDoubleClickedSlot();
    void closeSubWindowSlot();
    void tranlateUdpRawFrameSlot(const DeviceRecord &device);

private:
    void buildWidgets();
    void retranslateUi();
    void applyStoredLanguage();
    void installChineseTranslator();
    void removeTranslator();
    void reportBindFailure();
    void reportReceiveBufferLimit();
    void selectListedRow(int row);
    void beginListingPass();
    void endListingPass();
    void showScanStatus();
    void showLeftOutCount();

    QTranslator *translator = nullptr;
    QAction *chineseAction = nullptr;
    QAction *englishAction = nullptr;
    QAction *aboutAction = nullptr;
    QAction *infoAction = nullptr;
    QMenu *languageMenu = nullptr;
    QMenu *helpMenu = nullptr;
    QPushButton *refreshButton = nullptr;
    QPushButton *detailButton = nullptr;
    DeviceListModel *deviceList = nullptr;
    QTableView *tableView = nullptr;
    QLabel *scanStatusLabel = nullptr;
    // Where the last scan went; nothing before the first.
    std::optional<ScanReport> lastScan;
    // How many replies the full list left out; hidden while none.
    QLabel *leftOutLabel = nullptr;
    // The MAC of the device whose dialog is open, for its stop request.
    QString openedDeviceMac;
    bool widgetsBuilt = false;
    // Rows appended in one readiness pass are painted once, after it.
    bool listingPass = false;
};

#endif // MAINWINDOW_H
