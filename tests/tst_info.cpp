// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "dialogtesting.h"
#include "info.h"
#include "languagesettings.h"

#include <QLabel>
#include <QNetworkInterface>
#include <QProcess>
#include <QPushButton>
#include <QTranslator>
#include <QVBoxLayout>
#include <QtTest>

namespace {

// Every name that any host-name pattern could match, in any case.
bool isHostNameVariable(const QString &name)
{
    const QString upper = name.toUpper();
    return upper.startsWith(QLatin1String("USER")) || upper.startsWith(QLatin1String("HOSTNAME"))
        || upper.startsWith(QLatin1String("DOMAINNAME"));
}

QString variableName(const QString &entry)
{
    return entry.section(QLatin1Char('='), 0, 0);
}

} // namespace

class TestInfo : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void dialogShape();
    void hostName_data();
    void hostName();
    void addressesOfFirstAdapter_data();
    void addressesOfFirstAdapter();
    void chineseTexts();
    void okCloses();

private:
    void setEntries(const QStringList &entries);

    QStringList savedEntries;
    QStringList setNames;
};

void TestInfo::init()
{
    // Each case starts from an environment without any host-name variable and
    // gets the one it had back afterwards.
    savedEntries.clear();
    setNames.clear();
    const QStringList environment = QProcess::systemEnvironment();
    for (const QString &entry : environment) {
        if (isHostNameVariable(variableName(entry))) {
            savedEntries << entry;
            qunsetenv(variableName(entry).toLocal8Bit().constData());
        }
    }
}

void TestInfo::cleanup()
{
    closeLeftoverModals();
    for (const QString &name : qAsConst(setNames))
        qunsetenv(name.toLocal8Bit().constData());
    for (const QString &entry : qAsConst(savedEntries)) {
        const int equals = entry.indexOf(QLatin1Char('='));
        qputenv(entry.left(equals).toLocal8Bit().constData(), entry.mid(equals + 1).toLocal8Bit());
    }
}

void TestInfo::setEntries(const QStringList &entries)
{
    // Set in list order: the environment lists new variables in the order they came.
    for (const QString &entry : entries) {
        const int equals = entry.indexOf(QLatin1Char('='));
        setNames << entry.left(equals);
        QVERIFY(qputenv(
            entry.left(equals).toLocal8Bit().constData(), entry.mid(equals + 1).toLocal8Bit()));
    }
}

void TestInfo::dialogShape()
{
    QWidget parent;
    Info dialog(&parent);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Host Info"));
    QVERIFY(hasDialogFlags(&dialog));
    QCOMPARE(dialog.parentWidget(), &parent);
    auto *layout = qobject_cast<QVBoxLayout *>(dialog.layout());
    QVERIFY(layout);
    QCOMPARE(layout->count(), 4);
    const char *labels[] = { "hostNameLabel", "ipAddressLabel", "macAddressLabel" };
    for (int row = 0; row < 3; ++row)
        QCOMPARE(layout->itemAt(row)->widget()->objectName(), QLatin1String(labels[row]));
    auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("okButton"));
    QCOMPARE(layout->itemAt(3)->widget(), ok);
    QCOMPARE(layout->itemAt(3)->alignment(), Qt::AlignCenter);
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(ok->maximumWidth(), 80);
}

void TestInfo::hostName_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("expected");

    QTest::newRow("USERNAME") << QStringList { "USERNAME=alice" } << "Host Name:alice";
    QTest::newRow("USERNAME wins over an earlier USER")
        << QStringList { "USER=bob", "USERNAME=alice" } << "Host Name:alice";
    QTest::newRow("only USERPROFILE, listed before USERDOMAIN")
        << QStringList { "USERPROFILE=C:\\Users\\alice", "USERDOMAIN=PLANT" }
        << "Host Name:C:\\Users\\alice";
#ifdef Q_OS_WIN
    // Setting a variable empty removes it on Windows.
    QTest::newRow("empty value") << QStringList { "USERNAME=" } << "Host Name:unknown";
#else
    QTest::newRow("empty value") << QStringList { "USERNAME=" } << "Host Name:";
#endif
    QTest::newRow("value with '=' falls through to HOSTNAME")
        << QStringList { "USERNAME=a=b", "HOSTNAME=bench-pc" } << "Host Name:bench-pc";
    QTest::newRow("value with '=' and nothing else")
        << QStringList { "USERNAME=a=b" } << "Host Name:unknown";
    QTest::newRow("DOMAINNAME last of all")
        << QStringList { "DOMAINNAME=plant.local" } << "Host Name:plant.local";
    QTest::newRow("only lower-case and mixed-case names")
        << QStringList { "username=alice", "HostName=bench-pc", "user=bob" } << "Host Name:unknown";
    QTest::newRow("names that only contain USER or HOSTNAME")
        << QStringList { "BUILD_USER=bob", "X_HOSTNAME=bench-pc" } << "Host Name:unknown";
    QTest::newRow("no variable at all") << QStringList() << "Host Name:unknown";
    QTest::newRow("bold markup shown literally")
        << QStringList { "USERNAME=<b>x</b>" } << "Host Name:<b>x</b>";
    QTest::newRow("entity shown literally")
        << QStringList { "USERNAME=R&amp;D<br>" } << "Host Name:R&amp;D<br>";
    QTest::newRow("image markup holds '=' and is passed over")
        << QStringList { "USERNAME=<img src=x.png>" } << "Host Name:unknown";
}

void TestInfo::hostName()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, expected);
    setEntries(entries);

    QWidget parent;
    Info dialog(&parent);
    QCOMPARE(labelText(dialog, "hostNameLabel"), expected);
    // A value like <b>x</b> would otherwise render as markup.
    for (QLabel *label : dialog.findChildren<QLabel *>())
        QCOMPARE(label->textFormat(), Qt::PlainText);
}

void TestInfo::addressesOfFirstAdapter_data()
{
    QTest::addColumn<bool>("adapterUp");
    QTest::addColumn<bool>("shown");
    // tests/netns-run.sh gives the namespace lo, and nxrun0 (192.0.2.1/24) with
    // its peer nxrun1, up without an address.
    QTest::newRow("lo and a veth: the veth") << true << true;
    QTest::newRow("the veth down: nothing, never loopback") << false << false;
}

void TestInfo::addressesOfFirstAdapter()
{
    QFETCH(bool, adapterUp);
    QFETCH(bool, shown);
#ifdef Q_OS_WIN
    QSKIP("the namespace's adapters are set with Linux's tools");
#endif
    const QNetworkInterface adapter = QNetworkInterface::interfaceFromName("nxrun0");
    QVERIFY2(adapter.isValid(), "run through ctest: tests/netns-run.sh makes the adapter");
    const auto setAdapter = [](const char *state) {
        return QProcess::execute("ip", { "link", "set", "nxrun0", state }) == 0;
    };
    QVERIFY(setAdapter(adapterUp ? "up" : "down"));
    QWidget parent;
    Info dialog(&parent);
    const QString ip = labelText(dialog, "ipAddressLabel");
    const QString mac = labelText(dialog, "macAddressLabel");
    QVERIFY(setAdapter("up"));
    QCOMPARE(ip, shown ? QStringLiteral("IP Address:192.0.2.1") : QStringLiteral("IP Address:"));
    QCOMPARE(mac, QStringLiteral("MAC Address:") + (shown ? adapter.hardwareAddress() : QString()));
}

void TestInfo::chineseTexts()
{
    QTranslator translator;
    QVERIFY(translator.load(LanguageSettings::catalogueFilePath()));
    QCoreApplication::installTranslator(&translator);
    setEntries({ "USERNAME=alice" });

    QWidget parent;
    Info dialog(&parent);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("主机信息"));
    QCOMPARE(labelText(dialog, "hostNameLabel"), QStringLiteral("主机名：alice"));
    QVERIFY(labelText(dialog, "ipAddressLabel").startsWith(QStringLiteral("IP地址：")));
    QVERIFY(labelText(dialog, "macAddressLabel").startsWith(QStringLiteral("MAC地址：")));
    QCOMPARE(dialog.findChild<QPushButton *>()->text(), QStringLiteral("确定"));

    qunsetenv("USERNAME");
    Info unknown(&parent);
    QCOMPARE(labelText(unknown, "hostNameLabel"), QStringLiteral("主机名：未知"));
}

void TestInfo::okCloses()
{
    QWidget parent;
    Info dialog(&parent);
    QCOMPARE(execPressingOk(dialog), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestInfo)
#include "tst_info.moc"
