// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QHash>
#include <QMainWindow>
#include <QString>
#include <QVector>

class QAction;
class QMenu;
class QPushButton;
class QTableWidget;
class QTranslator;

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

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
    void tranlateUdpRawFrameSlot();

private:
    void buildWidgets();
    void retranslateUi();
    void applyStoredLanguage();
    void installChineseTranslator();
    void removeTranslator();
    void reportBindFailure();
    void reportReceiveBufferLimit();
    // Marks red every cell of the column that holds the text; true if any did.
    bool markListedCells(int column, const QString &text);
    void addDeviceRow();
    void clearRowTexts();
    QHash<QString, QVector<int>> &rowsByText(int column);
    void indexListedRows();
    void indexCell(int row, int column);
    void selectListedRow(int row);
    void beginListingPass();
    void endListingPass();

    QTranslator *translator = nullptr;
    QAction *chineseAction = nullptr;
    QAction *englishAction = nullptr;
    QAction *aboutAction = nullptr;
    QAction *infoAction = nullptr;
    QMenu *languageMenu = nullptr;
    QMenu *helpMenu = nullptr;
    QPushButton *refreshButton = nullptr;
    QPushButton *detailButton = nullptr;
    QString rowDeviceType;
    QString rowMacAddress;
    QString rowDeviceName;
    QString rowDeviceVersion;
    QString rowIpAddress;
    QString rowNetMask;
    QString rowGateWay;
    QString rowPlcPoints;
    QTableWidget *tableWidget = nullptr;
    // The MAC of the device whose dialog is open, for its stop request.
    QString openedDeviceMac;
    bool widgetsBuilt = false;
    // The rows of the MAC and of the IP column by cell text, each row only until its
    // cell is red (marks are never removed); a text with no rows left is all red.
    QHash<QString, QVector<int>> macRows;
    QHash<QString, QVector<int>> ipRows;
    // Rows appended in one readiness pass are painted once, after it.
    bool listingPass = false;
};

#endif // MAINWINDOW_H
