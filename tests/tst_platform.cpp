// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

// What each system does its own way, checked the same way on Linux and, under
// Wine, on Windows: the audit log's file, the port that no one else may take,
// and Ctrl+C.

#include "auditfile.h"
#include "auditlog.h"
#include "datagramcodec.h"
#include "interruptwatcher.h"
#include "mysocket.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostAddress>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

#include <memory>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <csignal>
#endif

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool makeSymbolicLink(const QString &target, const QString &link)
{
#ifdef Q_OS_WIN
    // Unprivileged links need the developer mode of Windows 10 or later.
    return ::CreateSymbolicLinkW(
        reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(link).utf16()),
        reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(target).utf16()),
        SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
#else
    return QFile::link(target, link);
#endif
}

// Ctrl+C as the system delivers it: a signal, or the console's event.
bool pressCtrlC(bool breakKey)
{
#ifdef Q_OS_WIN
    return ::GenerateConsoleCtrlEvent(breakKey ? CTRL_BREAK_EVENT : CTRL_C_EVENT, 0);
#else
    return ::raise(breakKey ? SIGTERM : SIGINT) == 0;
#endif
}

} // namespace

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void auditFile_data();
    void auditFile();
    void auditFileSyncNeedsAnOpenFile();
    void portIsNotShared_data();
    void portIsNotShared();
    void interruptReachesTheLoop_data();
    void interruptReachesTheLoop();
};

void TestPlatform::initTestCase()
{
#ifdef Q_OS_WIN
    // A console of the test's own: a console event reaches every process of
    // the console, and the one the test was started from holds its runner too.
    ::FreeConsole();
    QVERIFY(::AllocConsole());
#endif
}

void TestPlatform::auditFile_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("reason");

    QTest::newRow("new file in new folders")
        << QString() << QStringLiteral("state/nesdrix/audit.csv") << true << QString();
    QTest::newRow("earlier lines stay") << QStringLiteral("file") << QStringLiteral("audit.csv")
                                        << true << QString();
    QTest::newRow("symbolic link") << QStringLiteral("link") << QStringLiteral("audit.csv")
                                   << false << QStringLiteral("symbolic link");
    QTest::newRow("a folder") << QStringLiteral("folder") << QStringLiteral("audit.csv") << false
                              << QString();
    QTest::newRow("folder is a file") << QStringLiteral("file")
                                      << QStringLiteral("audit.csv/nesdrix/audit.csv") << false
                                      << QString();
}

void TestPlatform::auditFile()
{
    QFETCH(QString, before);
    QFETCH(QString, path);
    QFETCH(bool, opens);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString existing = dir.filePath(QStringLiteral("audit.csv"));
    const QString elsewhere = dir.filePath(QStringLiteral("elsewhere.csv"));
    const QByteArray earlier("earlier line\n");
    if (before == QLatin1String("file"))
        QVERIFY(writeFile(existing, earlier));
    if (before == QLatin1String("folder"))
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("audit.csv")));
    if (before == QLatin1String("link")) {
        if (!makeSymbolicLink(elsewhere, existing))
            QSKIP("this system gives an ordinary user no symbolic links");
        // Wine makes the link but shows its programs no link there.
        if (!QFileInfo(existing).isSymLink())
            QSKIP("this system hides the symbolic link it made");
    }

    QFile file;
    QString error;
    const QString filePath = dir.filePath(path);
    QCOMPARE(openAuditFile(filePath, file, &error), opens);
    if (!opens) {
        QVERIFY(!error.isEmpty());
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY2(!QFile::exists(elsewhere), "the link was followed");
        return;
    }
    QVERIFY2(error.isEmpty(), qPrintable(error));
    QVERIFY(file.write("new line\n") == 9);
    QVERIFY2(syncAuditFile(file, &error), qPrintable(error));
    // Synced, so on the disk while the file is still open.
    const QByteArray expected = (before.isEmpty() ? QByteArray() : earlier) + "new line\n";
    QCOMPARE(fileBytes(filePath), expected);
}

void TestPlatform::auditFileSyncNeedsAnOpenFile()
{
    QFile file;
    QString error;
    QVERIFY(!syncAuditFile(file, &error));
    QVERIFY(!error.isEmpty());
}

void TestPlatform::portIsNotShared_data()
{
    QTest::addColumn<int>("bindMode");
    QTest::addColumn<bool>("secondEndpoint");

    QTest::newRow("a second endpoint") << 0 << true;
    QTest::newRow("a socket asking to share")
        << int(QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint) << false;
    QTest::newRow("a plain socket") << int(QAbstractSocket::DefaultForPlatform) << false;
}

void TestPlatform::portIsNotShared()
{
    QFETCH(int, bindMode);
    QFETCH(bool, secondEndpoint);

    MySocket endpoint;
    endpoint.initUdpSocket();
    QVERIFY2(endpoint.isBound(), qPrintable(endpoint.bindErrorString()));
    if (secondEndpoint) {
        MySocket second;
        second.initUdpSocket();
        QVERIFY(!second.isBound());
        QVERIFY(!second.bindErrorString().isEmpty());
        return;
    }
    QUdpSocket other;
    QVERIFY2(!other.bind(QHostAddress::AnyIPv4, Datagram::DevicePort,
                 QAbstractSocket::BindMode(bindMode)),
        "another socket took the port");
}

void TestPlatform::interruptReachesTheLoop_data()
{
    QTest::addColumn<bool>("breakKey");

    QTest::newRow("Ctrl+C, SIGINT") << false;
    QTest::newRow("Ctrl+Break, SIGTERM") << true;
}

void TestPlatform::interruptReachesTheLoop()
{
    QFETCH(bool, breakKey);

    InterruptWatcher watcher;
    QSignalSpy interrupted(&watcher, &InterruptWatcher::interrupted);
    QVERIFY(!watcher.isInterrupted());
    if (!pressCtrlC(breakKey))
        QSKIP("this system cannot play this key (Wine has no Ctrl+Break for a console)");
    QTRY_COMPARE(interrupted.count(), 1);
    QVERIFY(watcher.isInterrupted());
}

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
