// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "devicerecord.h"
#include "mysocket.h"

#include <QIcon>
#include <QMainWindow>
#include <QString>
#include <QVector>

class DeviceListModel;
class DeviceSortFilterModel;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class ScanRun;
class QTranslator;

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
    // Saves the devices shown, in the order shown, as CSV; a failure is told in a box.
    void exportList(const QString &path);

private slots:
    void chineseActionSlot();
    void englishActionSlot();
    void infoActionSlot();
    void aboutActionSlot();
    void refreshUserSlot();
    void cellDoubleClickedSlot();
    void closeSubWindowSlot();
    void tranlateUdpRawFrameSlot(const DeviceRecord &device);
    void sortByColumnSlot(int column);
    void filterChangedSlot(const QString &text);
    void copyMacSlot();
    void copyIpSlot();
    void copyRowSlot();
    void showRowMenuSlot(const QPoint &position);
    void exportListSlot();

private:
    void buildWidgets();
    void buildTable();
    void buildStatusBar();
    void buildListActions();
    void fitColumnsToFont();
    QSize startSize() const;
    void updateShownCount();
    void noteCurrentRowChange();
    void copyCurrentDeviceText(QString DeviceRecord::*text);
    void copyText(const QString &text);
    QVector<int> shownListedRows() const;
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
    QAction *exportAction = nullptr;
    QMenu *fileMenu = nullptr;
    QMenu *languageMenu = nullptr;
    QMenu *helpMenu = nullptr;
    QPushButton *refreshButton = nullptr;
    QPushButton *detailButton = nullptr;
    DeviceListModel *deviceList = nullptr;
    DeviceSortFilterModel *shownDevices = nullptr;
    QTableView *tableView = nullptr;
    QLabel *scanStatusLabel = nullptr;
    // The scan's tries and where they went; null until the endpoint is made.
    ScanRun *scanRun = nullptr;
    QLineEdit *filterEdit = nullptr;
    QLabel *shownCountLabel = nullptr;
    QMenu *rowMenu = nullptr;
    QAction *copyMacAction = nullptr;
    QAction *copyIpAction = nullptr;
    QAction *copyRowAction = nullptr;
    // How many replies the full list left out; hidden while none.
    QLabel *leftOutLabel = nullptr;
    // The MAC of the device whose dialog is open, for its stop request.
    QString openedDeviceMac;
    bool widgetsBuilt = false;
    // Replies read in one readiness pass are listed, and painted, once after it.
    bool listingPass = false;
    QVector<DeviceRecord> pendingDevices;
    // Once the user picks a row after a scan, rows listed later leave it current.
    bool userChoseRow = false;
    // Set while the program itself moves the current row (clearing, sorting,
    // filtering), so that the move is not taken for the user's choice.
    bool programMovesCurrent = false;
};

#endif // MAINWINDOW_H
