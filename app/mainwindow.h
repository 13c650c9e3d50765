// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "addresscheck.h"
#include "devicerecord.h"
#include "mysocket.h"
#include "writeconfirmation.h"

#include <QIcon>
#include <QMainWindow>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QString>
#include <QVector>

class DeviceListModel;
class DeviceSortFilterModel;
class LedSession;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class QTimer;
class QTranslator;
class ScanRun;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // Lists the devices that reply on the endpoint, and sends through it; the
    // endpoint outlives the window. Without one (widget tests) nothing is sent.
    explicit MainWindow(MySocket *endpoint = nullptr, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The icon of every window of the program; the program links the image bundle.
    static QIcon applicationIcon();

    void initUi();
    void startScan();
    // Saves the devices shown, in the order shown, as CSV; a failure is told in a box.
    void exportList(const QString &path);
    // Compares the list with a saved CSV or JSON list until Stop Comparing;
    // false after a box that says why the file cannot be compared.
    bool compareWithSavedList(const QString &path);
    // How long the window looks for a written device at its new address.
    void setWriteConfirmationLimit(int ms) { writeConfirmationLimitMs = ms; }

protected:
    // Remembers the window's size and the table's columns and sort for the next start.
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

protected:
    void changeEvent(QEvent *event) override;

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
    // The header's menu: a check for each column, to show or hide it.
    void showColumnMenuSlot(const QPoint &position);
    void exportListSlot();
    // Flashes the selected device's LEDs for a while, without its dialog.
    void flashLedsSlot();
    void compareListSlot();
    void stopComparingSlot();
    void settingsWrittenSlot(const DeviceRecord &written, const AddressCheckResult &check);

private:
    void buildWidgets();
    void buildTable();
    void buildStatusBar();
    void buildListActions();
    void buildFileActions();
    void fitColumnsToFont();
    QSize startSize() const;
    // The most a window can take of its screen, its frame left out.
    QSize screenRoom() const;
    void saveViewState() const;
    void restoreViewState();
    void updateShownCount();
    void noteCurrentRowChange(const QModelIndex &current);
    void copyCurrentDeviceText(int column);
    void copyText(const QString &text);
    QVector<int> shownListedRows() const;
    void retranslateUi();
    void applyStoredLanguage();
    void installChineseTranslator();
    void removeTranslator();
    void reportBindFailure();
    void reportReceiveBufferLimit();
    // Selects the device the user chose, or the top row until the user chooses one.
    void showChosenDevice();
    void beginListingPass();
    void endListingPass();
    void showScanStatus();
    void showLeftOutCount();
    void showComparisonCounts();
    // "2 devices share 192.0.2.81" in the status bar, hidden while none do.
    void showConflicts();
    void endRowFlash();
    void showWriteStatus(const QString &text);

    QPointer<MySocket> endpoint;
    QTranslator *translator = nullptr;
    QTranslator *qtTranslator = nullptr;
    QAction *chineseAction = nullptr;
    QAction *englishAction = nullptr;
    QAction *aboutAction = nullptr;
    QAction *infoAction = nullptr;
    QAction *exportAction = nullptr;
    QAction *compareAction = nullptr;
    QAction *stopCompareAction = nullptr;
    QAction *refreshAction = nullptr;
    QAction *quitAction = nullptr;
    // Enter on a row, and the row menu's "Change IP...": opens the device.
    QAction *openAction = nullptr;
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
    // Runs from a scan until its answers are due.
    QTimer *answerWait = nullptr;
    // The port could not be bound, and the window has not been exposed to say so yet.
    bool bindFailurePending = false;
    QLineEdit *filterEdit = nullptr;
    QLabel *shownCountLabel = nullptr;
    QMenu *rowMenu = nullptr;
    QAction *copyMacAction = nullptr;
    QAction *copyIpAction = nullptr;
    QAction *copyRowAction = nullptr;
    QLabel *conflictLabel = nullptr;
    // How many replies the full list left out; hidden while none.
    QLabel *leftOutLabel = nullptr;
    // "2 new, 1 changed, 1 missing" while comparing with a saved list.
    QLabel *comparisonLabel = nullptr;
    QString comparedPath;
    // What became of the last write: its address check, then whether the device
    // answers with its new settings.
    QLabel *writeStatusLabel = nullptr;
    QString writeCheckNote;
    WriteConfirmation *writeConfirmation = nullptr;
    int writeConfirmationLimitMs = WriteConfirmation::DefaultLimitMs;
    // The LEDs of the device whose dialog is open.
    QPointer<LedSession> openedLeds;
    // The row menu's flash, while it runs.
    QPointer<LedSession> rowFlash;
    QAction *flashAction = nullptr;
    bool widgetsBuilt = false;
    // Replies read in one readiness pass are listed, and painted, once after it.
    bool listingPass = false;
    QVector<DeviceRecord> pendingDevices;
    // The listed device the user picked (by click or key) since the scan: it
    // stays chosen while new rows arrive and while the filter hides it.
    QPersistentModelIndex chosenDevice;
    // Set while the program itself moves the current row (clearing, sorting,
    // filtering), so that the move is not taken for the user's choice.
    bool programMovesCurrent = false;
};

#endif // MAINWINDOW_H
