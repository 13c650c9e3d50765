// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicelistmodel.h"
#include "dialogtesting.h"
#include "mainwindow.h"
#include "subdeviceinfo.h"
#include "testdevices.h"

#include <QAction>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const char SavedCsv[] = "type,name,ip,mac,mask,gateway,version,points,duplicate\n"
                        "PLC,Press,192.0.2.64,02:4E:58:00:02:01,255.255.255.0,192.0.2.1,1.0,,\n"
                        "HMI,Panel,192.0.2.65,02:4E:58:00:02:02,255.255.255.0,192.0.2.1,1.0,,\n";

DeviceRecord device(const QString &mac, const QString &name, const QString &ip)
{
    TestDevice device;
    device.mac = mac;
    device.name = name;
    device.ip = ip;
    device.version = QByteArray::fromHex("0100");
    return device.record();
}

QString writeFile(const QTemporaryDir &dir, const QByteArray &bytes)
{
    const QString path = dir.filePath(QStringLiteral("saved.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

QStringList column(const QAbstractItemModel *model, int column)
{
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, column).data().toString();
    return texts;
}

} // namespace

class TestCompareWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void comparingAndBack();
    void refusedList_data();
    void refusedList();

private:
    MainWindow *window = nullptr;
    QTableView *table = nullptr;
};

void TestCompareWindow::init()
{
    window = new MainWindow;
    table = window->findChild<QTableView *>(QStringLiteral("tableWidget"));
    // Press re-addressed, Panel gone, a drive new.
    window->findChild<DeviceListModel *>()->appendRecords(
        { device(QStringLiteral("02:4E:58:00:02:01"), QStringLiteral("Press"),
              QStringLiteral("192.0.2.70")),
            device(QStringLiteral("02:4E:58:00:02:09"), QStringLiteral("Drive"),
                QStringLiteral("192.0.2.66")) });
}

void TestCompareWindow::cleanup()
{
    closeLeftoverModals();
    delete window;
}

void TestCompareWindow::comparingAndBack()
{
    QTemporaryDir dir;
    QVERIFY(window->compareWithSavedList(writeFile(dir, SavedCsv)));
    const QAbstractItemModel *shown = table->model();
    const int changeColumn = ColumnCount;
    QCOMPARE(shown->headerData(changeColumn, Qt::Horizontal).toString(), QStringLiteral("Change"));
    QCOMPARE(table->horizontalHeader()->logicalIndex(0), changeColumn);
    QCOMPARE(column(shown, changeColumn), QStringList({ "changed", "new", "missing" }));
    QCOMPARE(column(shown, MacAddressColumn).last(), QStringLiteral("02:4E:58:00:02:02"));
    QVERIFY(shown->index(0, IpAddressColumn)
                .data(Qt::ToolTipRole)
                .toString()
                .contains(QLatin1String("192.0.2.64")));
    auto *counts = window->findChild<QLabel *>(QStringLiteral("comparisonLabel"));
    QCOMPARE(counts->text(), QStringLiteral("1 new, 1 changed, 1 missing"));

    // The missing device did not answer: it cannot be opened, nor flashed.
    table->setCurrentIndex(shown->index(2, 0));
    QString warning;
    QObject scope;
    whenModal<QMessageBox>(&scope, [&](QMessageBox *box) {
        warning = box->text();
        box->close();
    });
    emit table->doubleClicked(table->currentIndex());
    QVERIFY2(warning.contains(QLatin1String("did not answer")), qPrintable(warning));
    QVERIFY(window->findChildren<SubDeviceInfo *>().isEmpty());

    table->setCurrentIndex(shown->index(1, 0));
    window->findChild<QAction *>(QStringLiteral("copyRowAction"))->trigger();
    QVERIFY(QGuiApplication::clipboard()->text().startsWith(QLatin1String("new\t")));
    const QString exported = dir.filePath(QStringLiteral("export.csv"));
    window->exportList(exported);
    QFile file(exported);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    QVERIFY(lines.at(0).endsWith(QLatin1String(",change")));
    QVERIFY(lines.at(3).endsWith(QLatin1String(",missing")));

    auto *stop = window->findChild<QAction *>(QStringLiteral("stopCompareAction"));
    QVERIFY(stop->isEnabled());
    stop->trigger();
    QCOMPARE(shown->columnCount(), int(ColumnCount));
    QCOMPARE(shown->rowCount(), 2);
    QVERIFY(counts->isHidden());
    QVERIFY(!stop->isEnabled());
}

void TestCompareWindow::refusedList_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    QTest::newRow("a plan, not a list")
        << QByteArray("MAC,IP,MASK,GATEWAY\n") << QStringLiteral("line 1: the header has no");
    QTest::newRow("bad address") << QByteArray(SavedCsv).replace("192.0.2.65", "192.0.2")
                                 << QStringLiteral("line 3: the ip \"192.0.2\"");
}

void TestCompareWindow::refusedList()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    const QString path = writeFile(dir, bytes);
    QString warning;
    QObject scope;
    whenModal<QMessageBox>(&scope, [&](QMessageBox *box) {
        warning = box->text();
        box->close();
    });
    QVERIFY(!window->compareWithSavedList(path));
    QVERIFY2(warning.contains(reason) && warning.contains(QDir::toNativeSeparators(path)),
        qPrintable(warning));
    QCOMPARE(table->model()->columnCount(), int(ColumnCount));
}

QTEST_MAIN(TestCompareWindow)
#include "tst_comparewindow.moc"
