#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QMainWindow>
#include <QString>

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
    // Marks red every cell of the column that holds the text; true if any did.
    bool markListedCells(int column, const QString &text);
    void addDeviceRow();
    void clearRowTexts();

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
};

#endif // MAINWINDOW_H
