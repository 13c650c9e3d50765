// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicelistmodel.h"
#include "dialogtesting.h"
#include "languagesettings.h"
#include "mainwindow.h"
#include "tablemarks.h"
#include "testdevices.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QtTest>

namespace {

// The main window's translatable texts in the order it sets them: the Help
// entries, the menu titles, the nine column headers, the two buttons.
const QStringList EnglishTexts = { "&About", "Host &Info", "&Language", "&Help", "Device Type",
    "Device Name", "IP Address", "MAC Address", "Net Mask", "Gate Way", "Device Version",
    "PLC Points", "Adapter", "Refresh User List", "Get Detailed Info" };
const QStringList ChineseTexts
    = { "关于(&A)", "主机信息(&I)", "语言(&L)", "帮助(&H)", "设备类型", "设备名称", "IP地址", "MAC地址", "子网掩码",
          "网关", "设备版本", "PLC点数", "网卡", "刷新设备列表", "获取详细信息" };

const QByteArray ChineseFile = "[Languages]\nlanguages=Chinese\n";
const QByteArray EnglishFile = "[Languages]\nlanguages=English\n";

// What stands where language.ini belongs.
enum class Stored { Nothing, File, Directory };

QStringList shownTexts(const MainWindow &window)
{
    QStringList texts;
    for (const char *name : { "aboutAction", "infoAction" })
        texts << window.findChild<QAction *>(QLatin1String(name))->text();
    for (const char *name : { "languageMenu", "helpMenu" })
        texts << window.findChild<QMenu *>(QLatin1String(name))->title();
    auto *table = window.findChild<QTableView *>(QStringLiteral("tableWidget"));
    for (int column = 0; column < table->model()->columnCount(); ++column)
        texts << table->model()->headerData(column, Qt::Horizontal).toString();
    for (const char *name : { "refreshButton", "detailButton" })
        texts << window.findChild<QPushButton *>(QLatin1String(name))->text();
    return texts;
}

// What the application's translators make of the main window's texts: English
// only when no catalogue translator is installed.
QStringList translatedTexts()
{
    QStringList texts;
    for (const QString &text : EnglishTexts)
        texts << QCoreApplication::translate("MainWindow", text.toUtf8().constData());
    return texts;
}

QAction *languageAction(const MainWindow &window, const QString &text)
{
    for (auto *action : window.findChild<QMenu *>(QStringLiteral("languageMenu"))->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

QString settingsPath()
{
    return LanguageSettings::settingsFilePath();
}

void removeSettings()
{
    if (QFileInfo(settingsPath()).isDir())
        QDir(settingsPath()).removeRecursively();
    else
        QFile::remove(settingsPath());
}

bool writeSettings(const QByteArray &contents)
{
    // QSettings keeps the files it has read for the life of the process and takes
    // one with the same size and time as unchanged ("Chinese", then "chinese"
    // within a millisecond). A real start is a new process; here every file gets
    // a time of its own.
    static int writes = 0;
    QFile file(settingsPath());
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size()
        && file.flush()
        && file.setFileTime(
            QDateTime::currentDateTime().addSecs(++writes), QFileDevice::FileModificationTime);
}

QByteArray readSettings()
{
    QFile file(settingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

Stored storedKind()
{
    const QFileInfo info(settingsPath());
    if (!info.exists())
        return Stored::Nothing;
    return info.isDir() ? Stored::Directory : Stored::File;
}

void addDeviceRow(QTableView *table, const TestDevice &test)
{
    table->window()->findChild<DeviceListModel *>()->append(test.record());
}

} // namespace

Q_DECLARE_METATYPE(Stored)

class TestLanguage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void startUp_data();
    void startUp();
    void switching_data();
    void switching();
    void unwritableSettingsFile();
    void dialogAfterSwitch_data();
    void dialogAfterSwitch();
};

void TestLanguage::initTestCase()
{
    QVERIFY2(QFileInfo::exists(LanguageSettings::catalogueFilePath()),
        "zh_cn.qm must sit beside the test program");
}

void TestLanguage::init()
{
    // This program has a directory of its own, so language.ini there is this test's alone.
    removeSettings();
}

void TestLanguage::cleanup()
{
    closeLeftoverModals();
    removeSettings();
}

void TestLanguage::startUp_data()
{
    QTest::addColumn<Stored>("stored");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<bool>("chinese");

    QTest::newRow("no file") << Stored::Nothing << QByteArray() << false;
    QTest::newRow("English") << Stored::File << EnglishFile << false;
    QTest::newRow("Chinese") << Stored::File << ChineseFile << true;
    QTest::newRow("lower-case chinese")
        << Stored::File << QByteArray("[Languages]\nlanguages=chinese\n") << false;
    QTest::newRow("other text") << Stored::File << QByteArray("[Languages]\nlanguages=Deutsch\n")
                                << false;
    QTest::newRow("empty value") << Stored::File << QByteArray("[Languages]\nlanguages=\n")
                                 << false;
    QTest::newRow("Chinese outside the group")
        << Stored::File << QByteArray("languages=Chinese\n") << false;
    // A directory where the file belongs cannot be read as one.
    QTest::newRow("unreadable file") << Stored::Directory << QByteArray() << false;
}

void TestLanguage::startUp()
{
    QFETCH(Stored, stored);
    QFETCH(QByteArray, contents);
    QFETCH(bool, chinese);
    if (stored == Stored::File)
        QVERIFY(writeSettings(contents));
    if (stored == Stored::Directory)
        QVERIFY(QDir().mkpath(settingsPath()));

    {
        MainWindow window;
        QCOMPARE(languageAction(window, "中文")->isChecked(), chinese);
        QCOMPARE(languageAction(window, "English")->isChecked(), !chinese);
        QCOMPARE(shownTexts(window), chinese ? ChineseTexts : EnglishTexts);
        QCOMPARE(translatedTexts(), chinese ? ChineseTexts : EnglishTexts);
    }
    // Starting up writes nothing.
    QCOMPARE(storedKind(), stored);
    if (stored == Stored::File)
        QCOMPARE(readSettings(), contents);
    QCOMPARE(translatedTexts(), EnglishTexts);
}

void TestLanguage::switching_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<bool>("chinese");

    QTest::newRow("中文") << QStringList { "中文" } << true;
    QTest::newRow("English") << QStringList { "English" } << false;
    QTest::newRow("中文 twice, then English") << QStringList { "中文", "中文", "English" } << false;
    QTest::newRow("English twice") << QStringList { "English", "English" } << false;
    QTest::newRow("English, then 中文 twice") << QStringList { "English", "中文", "中文" } << true;
    QTest::newRow("中文, English, 中文") << QStringList { "中文", "English", "中文" } << true;
}

void TestLanguage::switching()
{
    QFETCH(QStringList, entries);
    QFETCH(bool, chinese);

    MainWindow window;
    for (const QString &entry : entries)
        languageAction(window, entry)->trigger();

    QCOMPARE(languageAction(window, "中文")->isChecked(), chinese);
    QCOMPARE(languageAction(window, "English")->isChecked(), !chinese);
    QCOMPARE(shownTexts(window), chinese ? ChineseTexts : EnglishTexts);
    // A translator left behind by an earlier switch would still answer here.
    QCOMPARE(translatedTexts(), chinese ? ChineseTexts : EnglishTexts);
    QCOMPARE(readSettings(), chinese ? ChineseFile : EnglishFile);
}

void TestLanguage::unwritableSettingsFile()
{
    // The tests run as root (at least inside their namespace), for whom a
    // read-only directory is writable all the same; a directory standing where
    // language.ini belongs refuses every write just as a read-only one would.
    QVERIFY(QDir().mkpath(settingsPath()));
    const QStringList programDirectory = QDir(QCoreApplication::applicationDirPath()).entryList();

    ModalCloser closer;
    MainWindow window;
    languageAction(window, "中文")->trigger();
    QCOMPARE(shownTexts(window), ChineseTexts);
    QVERIFY(languageAction(window, "中文")->isChecked());
    languageAction(window, "English")->trigger();
    QCOMPARE(shownTexts(window), EnglishTexts);
    QVERIFY(languageAction(window, "English")->isChecked());

    // Nothing is reported, not even later, and nothing is left behind.
    QCoreApplication::processEvents();
    QVERIFY(closer.shown.isEmpty());
    QVERIFY(!window.findChild<QMessageBox *>());
    QCOMPARE(storedKind(), Stored::Directory);
    QCOMPARE(QDir(QCoreApplication::applicationDirPath()).entryList(), programDirectory);
}

void TestLanguage::dialogAfterSwitch_data()
{
    // What opens the dialog (a Help entry or a button), then the dialog's title and
    // the text of its OK button, if it has one.
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("opener");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("okText");

    const QStringList chinese = { "中文" };
    const QStringList english = { "中文", "English" };
    QTest::newRow("About in Chinese") << chinese << "aboutAction"
                                      << "关于"
                                      << "确定";
    QTest::newRow("Host Info in Chinese") << chinese << "infoAction"
                                          << "主机信息"
                                          << "确定";
    QTest::newRow("scan pause in Chinese") << chinese << "refreshButton"
                                           << "扫描"
                                           << "";
    QTest::newRow("device in Chinese") << chinese << "detailButton"
                                       << "PLC信息"
                                       << "";
    QTest::newRow("About back in English") << english << "aboutAction"
                                           << "About"
                                           << "OK";
    QTest::newRow("Host Info back in English") << english << "infoAction"
                                               << "Host Info"
                                               << "OK";
    QTest::newRow("device back in English") << english << "detailButton"
                                            << "PLC Info"
                                            << "";
}

void TestLanguage::dialogAfterSwitch()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, opener);
    QFETCH(QString, title);
    QFETCH(QString, okText);

    MainWindow window;
    auto *table = window.findChild<QTableView *>(QStringLiteral("tableWidget"));
    TestDevice device;
    device.name = QStringLiteral("Line 3 Press");
    device.ip = QStringLiteral("192.0.2.10");
    device.points = QByteArray::fromHex("00000080");
    addDeviceRow(table, device);
    const QStringList row = { "PLC", "Line 3 Press", "192.0.2.10", "00:1A:2B:3C:4D:5E",
        "255.255.255.0", "192.0.2.1", "1.2.0.10", "0.0.0.128" };
    table->selectRow(0);

    for (const QString &entry : entries)
        languageAction(window, entry)->trigger();

    QCOMPARE(window.windowTitle(), QStringLiteral("Nesdrix"));
    QVERIFY(languageAction(window, "中文"));
    QVERIFY(languageAction(window, "English"));
    QCOMPARE(table->model()->rowCount(), 1);
    for (int column = 0; column < row.size(); ++column)
        QCOMPARE(cellText(table->model(), 0, column), row.at(column));

    ModalCloser closer;
    if (auto *action = window.findChild<QAction *>(opener))
        action->trigger();
    else
        window.findChild<QPushButton *>(opener)->click();
    QCOMPARE(closer.shown.size(), 1);
    QCOMPARE(closer.shown.first().title, title);
    QCOMPARE(closer.shown.first().okText, okText);
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
