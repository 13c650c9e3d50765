// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "plan.h"
#include "testdevices.h"

#include <QtTest>

namespace {

DeviceRecord device(const QString &mac, const QString &ip)
{
    DeviceRecord record;
    record.mac = macOf(mac);
    record.ip = ipOf(ip);
    record.mask = ipOf(QStringLiteral("255.255.255.0"));
    record.gateway = ipOf(QStringLiteral("192.0.2.1"));
    return record;
}

// What answered the scan: four devices, and one MAC that two devices answer with.
QVector<DeviceRecord> network()
{
    return { device(QStringLiteral("02:00:00:00:00:01"), QStringLiteral("192.0.2.64")),
        device(QStringLiteral("02:00:00:00:00:02"), QStringLiteral("192.0.2.65")),
        device(QStringLiteral("02:00:00:00:00:03"), QStringLiteral("192.0.2.66")),
        device(QStringLiteral("02:00:00:00:00:04"), QStringLiteral("192.0.2.67")),
        device(QStringLiteral("02:00:00:00:00:05"), QStringLiteral("192.0.2.68")),
        device(QStringLiteral("02:00:00:00:00:05"), QStringLiteral("192.0.2.69")) };
}

QString entriesText(const QVector<PlanEntry> &entries)
{
    QStringList lines;
    for (const PlanEntry &entry : entries)
        lines << QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(entry.lineNo)
                     .arg(entry.mac.toString(), entry.settings.ip.toString(),
                         entry.settings.mask.toString(), entry.settings.gateway.toString());
    return lines.join(QLatin1Char('\n'));
}

} // namespace

class TestCliPlan : public QObject
{
    Q_OBJECT

private slots:
    void parsePlan_data();
    void parsePlan();
    void checkPlan_data();
    void checkPlan();
    void verification_data();
    void verification();
};

void TestCliPlan::parsePlan_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("entries");
    QTest::addColumn<QString>("problems");

    QTest::newRow("header, comment and blank line skipped, line numbers kept")
        << "MAC,IP,MASK,GATEWAY\n# drives of line 2\n\n"
           "02:00:00:00:00:01,192.0.2.10,255.255.255.0,192.0.2.1\n"
        << "4 02:00:00:00:00:01 192.0.2.10 255.255.255.0 192.0.2.1"
        << "";
    QTest::newRow("a spreadsheet's byte order mark before the header")
        << QString(QChar::ByteOrderMark)
            + "MAC,IP,MASK,GATEWAY\r\n"
              "02:00:00:00:00:01,192.0.2.10,255.255.255.0,192.0.2.1\r\n"
        << "2 02:00:00:00:00:01 192.0.2.10 255.255.255.0 192.0.2.1"
        << "";
    QTest::newRow("without header") << "02:00:00:00:00:01,192.0.2.10,255.255.255.0,192.0.2.1\n"
                                       "02:00:00:00:00:02,192.0.2.11,255.255.255.0,192.0.2.1"
                                    << "1 02:00:00:00:00:01 192.0.2.10 255.255.255.0 192.0.2.1\n"
                                       "2 02:00:00:00:00:02 192.0.2.11 255.255.255.0 192.0.2.1"
                                    << "";
    QTest::newRow("CRLF line ends and blanks around fields")
        << " 02:00:00:00:00:01 , 192.0.2.10,255.255.255.0 ,192.0.2.1\r\n"
        << "1 02:00:00:00:00:01 192.0.2.10 255.255.255.0 192.0.2.1"
        << "";
    QTest::newRow("lower-case MAC and leading zeros in the table's form")
        << "02:0a:0b:0c:0d:0e,192.000.002.010,255.255.255.000,192.0.2.001"
        << "1 02:0A:0B:0C:0D:0E 192.0.2.10 255.255.255.0 192.0.2.1"
        << "";
    QTest::newRow("three fields") << "\n02:00:00:00:00:01,192.0.2.10,255.255.255.0"
                                  << ""
                                  << "line 2: expected 4 fields MAC,IP,MASK,GATEWAY, found 3\n";
    QTest::newRow("semicolons, as a spreadsheet in many languages saves")
        << "02:00:00:00:00:01;192.0.2.10;255.255.255.0;192.0.2.1"
        << ""
        << "line 1: fields are separated by commas, not semicolons: MAC,IP,MASK,GATEWAY\n";
    QTest::newRow("five fields") << "02:00:00:00:00:01,192.0.2.10,255.255.255.0,192.0.2.1,x"
                                 << ""
                                 << "line 1: expected 4 fields MAC,IP,MASK,GATEWAY, found 5\n";
    QTest::newRow("IP out of range") << "02:00:00:00:00:01,192.0.2.256,255.255.255.0,192.0.2.1"
                                     << ""
                                     << "line 1: IP Address Error! \"192.0.2.256\": not four "
                                        "numbers of 0-255 separated by dots\n";
    QTest::newRow("mask and gateway both bad: the mask is named, as in the dialog")
        << "02:00:00:00:00:01,192.0.2.10,255.255.0,192.0.2"
        << ""
        << "line 1: Net Mask Error! \"255.255.0\": not four numbers of 0-255 separated by dots\n";
    QTest::newRow("gateway bad")
        << "02:00:00:00:00:01,192.0.2.10,255.255.255.0,gw"
        << ""
        << "line 1: Gate Way Error! \"gw\": not four numbers of 0-255 separated by dots\n";
    QTest::newRow("MAC with dashes, as Windows prints it")
        << "02-0a-00-00-00-01,192.0.2.10,255.255.255.0,192.0.2.1"
        << "1 02:0A:00:00:00:01 192.0.2.10 255.255.255.0 192.0.2.1"
        << "";
    QTest::newRow("MAC with mixed separators")
        << "02-00:00-00:00-01,192.0.2.10,255.255.255.0,192.0.2.1"
        << ""
        << "line 1: MAC Address Error! \"02-00:00-00:00-01\": not six pairs of hex digits "
           "separated by colons\n";
    QTest::newRow("a gateway outside the subnet names the rule")
        << "020000000001,192.0.2.10,255.255.255.0,198.51.100.1"
        << ""
        << "line 1: Gate Way Error! \"198.51.100.1\": the gateway lies outside the new subnet\n";
    QTest::newRow("a field with an escape sequence is shown harmless")
        << "02:00:00:00:00:01,\x1b]0;x\a,255.255.255.0,192.0.2.1"
        << ""
        << "line 1: IP Address Error! \"\uFFFD]0;x\uFFFD\": not four numbers of 0-255 "
           "separated by dots\n";
    QTest::newRow("header text after the first line is no header")
        << "02:00:00:00:00:01,192.0.2.10,255.255.255.0,192.0.2.1\nMAC,IP,MASK,GATEWAY"
        << "1 02:00:00:00:00:01 192.0.2.10 255.255.255.0 192.0.2.1"
        << "line 2: IP Address Error! \"IP\": not four numbers of 0-255 separated by dots\n";
}

void TestCliPlan::parsePlan()
{
    QFETCH(QString, text);
    QFETCH(QString, entries);
    QFETCH(QString, problems);

    const ParsedPlan plan = ::parsePlan(text);
    QCOMPARE(entriesText(plan.entries), entries);
    QCOMPARE(planProblemsText(plan.problems), problems);
}

void TestCliPlan::checkPlan_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("problems");

    QTest::newRow("every check passes") << "02:00:00:00:00:01,192.0.2.10,255.255.255.0,192.0.2.1\n"
                                           "02:00:00:00:00:02,192.0.2.11,255.255.255.0,192.0.2.1"
                                        << "";
    QTest::newRow("two planned devices swap addresses")
        << "02:00:00:00:00:01,192.0.2.65,255.255.255.0,192.0.2.1\n"
           "02:00:00:00:00:02,192.0.2.64,255.255.255.0,192.0.2.1"
        << "";
    QTest::newRow("a device keeps its own address")
        << "02:00:00:00:00:01,192.0.2.64,255.255.255.0,192.0.2.1"
        << "";
    QTest::newRow("MAC that did not answer")
        << "02:00:00:00:00:09,192.0.2.10,255.255.255.0,192.0.2.1"
        << "line 1: MAC 02:00:00:00:00:09 did not answer the scan\n";
    QTest::newRow("MAC that two devices answer with")
        << "02:00:00:00:00:05,192.0.2.10,255.255.255.0,192.0.2.1"
        << "line 1: MAC 02:00:00:00:00:05 answered 2 times\n";
    QTest::newRow("MAC planned twice, in either case")
        << "02:00:00:00:00:0a,192.0.2.10,255.255.255.0,192.0.2.1\n"
           "02:00:00:00:00:0A,192.0.2.11,255.255.255.0,192.0.2.1"
        << "line 1: MAC 02:00:00:00:00:0A did not answer the scan\n"
           "line 2: MAC 02:00:00:00:00:0A is already planned on line 1\n"
           "line 2: MAC 02:00:00:00:00:0A did not answer the scan\n";
    QTest::newRow("same new IP twice, written differently")
        << "02:00:00:00:00:01,192.0.2.10,255.255.255.0,192.0.2.1\n"
           "02:00:00:00:00:02,192.0.2.010,255.255.255.0,192.0.2.1"
        << "line 2: new IP 192.0.2.10 is already planned on line 1\n";
    QTest::newRow("new IP held by a device outside the plan")
        << "02:00:00:00:00:01,192.0.2.67,255.255.255.0,192.0.2.1"
        << "line 1: new IP 192.0.2.67 is held by 02:00:00:00:00:04, which is not in the plan\n";
    QTest::newRow("missing MAC, duplicate IP and malformed line all named, in line order")
        << "MAC,IP,MASK,GATEWAY\n"
           "02:00:00:00:00:01,192.0.2.10,255.255.255.0,192.0.2.1\n"
           "02:00:00:00:00:09,192.0.2.11,255.255.255.0,192.0.2.1\n"
           "02:00:00:00:00:02,192.0.2.10,255.255.255.0,192.0.2.1\n"
           "02:00:00:00:00:03;192.0.2.12;255.255.255.0;192.0.2.1\n"
        << "line 3: MAC 02:00:00:00:00:09 did not answer the scan\n"
           "line 4: new IP 192.0.2.10 is already planned on line 2\n"
           "line 5: fields are separated by commas, not semicolons: MAC,IP,MASK,GATEWAY\n";
}

void TestCliPlan::checkPlan()
{
    QFETCH(QString, text);
    QFETCH(QString, problems);

    QCOMPARE(planProblemsText(::checkPlan(::parsePlan(text), network())), problems);
}

void TestCliPlan::verification_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("outcome");

    const QString now = QStringLiteral("02:00:00:00:00:01 192.0.2.10");
    QTest::newRow("one answer, new settings") << QStringList { now } << "verified";
    QTest::newRow("one answer, old settings")
        << QStringList { "02:00:00:00:00:01 192.0.2.64" } << "not verified (other settings)";
    QTest::newRow("no answer") << QStringList { "02:00:00:00:00:02 192.0.2.10" }
                               << "not verified (no answer)";
    QTest::newRow("a forged answer beside the old one")
        << QStringList { "02:00:00:00:00:01 192.0.2.64", now } << "not verified (answered twice)";
    QTest::newRow("three answers")
        << QStringList { now, now, now } << "not verified (answered 3 times)";
}

void TestCliPlan::verification()
{
    QFETCH(QStringList, answers);
    QFETCH(QString, outcome);

    QVector<DeviceRecord> devices;
    for (const QString &answer : answers)
        devices << device(answer.section(' ', 0, 0), answer.section(' ', 1));
    const PlanEntry target { 1, macOf(QStringLiteral("02:00:00:00:00:01")),
        { ipOf(QStringLiteral("192.0.2.10")), ipOf(QStringLiteral("255.255.255.0")),
            ipOf(QStringLiteral("192.0.2.1")) } };
    QCOMPARE(verificationOutcome(devices, target), outcome);
}

QTEST_GUILESS_MAIN(TestCliPlan)
#include "tst_cliplan.moc"
