// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The command line of nesdrix-cli as a user meets it: help, and every kind of
// bad input refused with its message and status before anything is sent.
class TestCliCommands : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void commandLine_data();
    void commandLine();

private:
    QTemporaryDir dir;
};

void TestCliCommands::initTestCase()
{
    QVERIFY(dir.isValid());
    QFile empty(dir.filePath("empty.csv"));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.write("# nothing planned yet\nMAC,IP,MASK,GATEWAY\n");
}

void TestCliCommands::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output");

    QTest::newRow("general help") << QStringList { "--help" } << 0 << "Commands:";
    QTest::newRow("help without a command") << QStringList { "help" } << 0 << "Commands:";
    QTest::newRow("help of a command") << QStringList { "help", "scan" } << 0
                                       << "Usage: nesdrix-cli scan [options]";
    QTest::newRow("--help of a command") << QStringList { "--help", "apply" } << 0
                                         << "Usage: nesdrix-cli apply [options]";
    QTest::newRow("help of an unknown command")
        << QStringList { "help", "list" } << 1 << "unknown command \"list\"";
    QTest::newRow("version") << QStringList { "--version" } << 0 << "nesdrix-cli 1.";
    QTest::newRow("no command") << QStringList {} << 1 << "no command given";
    QTest::newRow("unknown command") << QStringList { "list" } << 1 << "unknown command \"list\"";
    for (const char *command : { "scan", "flash", "set", "apply", "inventory" })
        QTest::addRow("%s help", command)
            << QStringList { command, "--help" } << 0
            << QStringLiteral("Usage: nesdrix-cli %1 [options]").arg(QLatin1String(command));
    QTest::newRow("unknown option")
        << QStringList { "scan", "--colour" } << 1 << "Unknown option 'colour'";
    QTest::newRow("negative wait") << QStringList { "scan", "--wait-ms",
        "-5" } << 1 << "--wait-ms needs a whole number from 0 to 86400000, not \"-5\"";
    QTest::newRow("unknown format")
        << QStringList { "scan", "--format", "xml" } << 1 << "--format takes table, csv or json";
    QTest::newRow("stray argument")
        << QStringList { "scan", "now" } << 1 << "scan takes 0 arguments, 1 given";
    QTest::newRow("flash without MAC")
        << QStringList { "flash" } << 1 << "flash takes 1 argument, 0 given";
    QTest::newRow("flash with a malformed MAC")
        << QStringList { "flash", "001A2B3C4D5" } << 1 << "MAC Address Error! \"001A2B3C4D5\"";
    QTest::newRow("flash for no time") << QStringList { "flash", "00:1A:2B:3C:4D:5E", "--seconds",
        "0" } << 1 << "--seconds needs a whole number from 1 to 86400";
    QTest::newRow("flash for longer than a day")
        << QStringList { "flash", "00:1A:2B:3C:4D:5E", "--seconds", "3000000" } << 1
        << "--seconds needs a whole number from 1 to 86400, not \"3000000\"";
    QTest::newRow("set without settings") << QStringList { "set", "00:1A:2B:3C:4D:5E" } << 1
                                          << "set needs at least one of --ip, --mask and --gateway";
    QTest::newRow("set with a malformed mask") << QStringList { "set", "00:1A:2B:3C:4D:5E", "--ip",
        "192.0.2.10", "--mask", "255.255.255", "--gateway", "192.0.2.1" }
                                               << 1 << "Net Mask Error! \"255.255.255\"";
    QTest::newRow("set with a blank before the IP") << QStringList { "set", "00:1A:2B:3C:4D:5E",
        "--ip", " 192.0.2.10", "--mask", "255.255.255.0", "--gateway", "192.0.2.1" }
                                                    << 1 << "IP Address Error! \" 192.0.2.10\"";
    QTest::newRow("apply without plan file")
        << QStringList { "apply", "missing.csv" } << 1 << "cannot read the plan missing.csv";
    QTest::newRow("apply with an empty plan")
        << QStringList { "apply", "empty.csv" } << 1 << "the plan lists no device";
    // Inside the test's private namespace nothing answers.
    QTest::newRow("scan that nobody answers")
        << QStringList { "scan", "--wait-ms", "200" } << 2
        << "no device answered within 200 ms on nxrun0 192.0.2.1/24: check the cable";
    QTest::newRow("set --ip alone scans before it checks")
        << QStringList { "set", "00:1A:2B:3C:4D:5E", "--ip", "192.0.2.10", "--wait-ms", "200" } << 3
        << "MAC 00:1A:2B:3C:4D:5E did not answer the scan: check the MAC against";
    QTest::newRow("scan saving to a text file") << QStringList { "scan", "--save", "list.csv",
        "--save", "list.txt" } << 1 << "--save needs a file name ending in .csv or .json, not \"list.txt\"";
    QTest::newRow("scan saving into a missing folder")
        << QStringList { "scan", "--wait-ms", "200", "--save", "missing/list.json" } << 1
        << "cannot save the list to missing/list.json";
    QTest::newRow("inventory of an empty network")
        << QStringList { "inventory", "--list", "--wait-ms", "200" } << 0 << "\"hostvars\": {\n";
    QTest::newRow("inventory of a host that did not answer")
        << QStringList { "inventory", "--host", "press\x1b]0;", "--wait-ms", "200" } << 3
        << QStringLiteral("no device answered as host \"press\uFFFD]0;\"");
    QTest::newRow("inventory asked for both") << QStringList { "inventory", "--list", "--host",
        "press" } << 1 << "--list and --host exclude each other";
}

void TestCliCommands::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, output);

    QProcess cli;
    cli.setWorkingDirectory(dir.path());
    cli.start(QStringLiteral(NESDRIX_CLI), arguments);
    QVERIFY2(cli.waitForFinished(60000), qPrintable(cli.errorString()));
    const QString text
        = QString::fromUtf8(cli.readAllStandardOutput() + cli.readAllStandardError());
    QVERIFY2(text.contains(output), qPrintable(text));
    QCOMPARE(cli.exitStatus(), QProcess::NormalExit);
    QCOMPARE(cli.exitCode(), status);
}

QTEST_GUILESS_MAIN(TestCliCommands)
#include "tst_clicommands.moc"
