// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "auditlog.h"
#include "deviceformat.h"
#include "safetext.h"
#include "testdevices.h"

#include <sys/stat.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(OutputFormat)

namespace {

DeviceRecord device(const QString &name, const QString &mac, const QString &ip)
{
    TestDevice device;
    device.name = name;
    device.mac = mac;
    device.ip = ip;
    return device.record();
}

DeviceSettings newSettings(const char *gateway = "192.0.2.1")
{
    return { ipOf(QStringLiteral("192.0.2.10")), ipOf(QStringLiteral("255.255.255.0")),
        ipOf(QLatin1String(gateway)) };
}

std::unique_ptr<DeviceListModel> listed(const QVector<DeviceRecord> &devices)
{
    auto model = std::make_unique<DeviceListModel>();
    for (const DeviceRecord &device : devices)
        model->append(device);
    return model;
}

// Three answers: the first and the third share an IP address.
QVector<DeviceRecord> scanned()
{
    return {
        device(QStringLiteral("Press"), QStringLiteral("02:00:00:00:00:01"),
            QStringLiteral("192.0.2.64")),
        device(QStringLiteral("Line 2, \"west\""), QStringLiteral("02:00:00:00:00:02"),
            QStringLiteral("192.0.2.65")),
        device(QStringLiteral("Fan"), QStringLiteral("02:00:00:00:00:03"),
            QStringLiteral("192.0.2.64")),
    };
}

AuditEntry entry(const QDateTime &time, const QString &host, const QString &outcome,
    const QString &addressCheck = QString())
{
    return { time, host, QStringLiteral("02:00:00:00:00:01"), QStringLiteral("192.0.2.64"),
        QStringLiteral("255.255.255.0"), QStringLiteral("192.0.2.1"), QStringLiteral("192.0.2.10"),
        QStringLiteral("255.255.255.0"), QStringLiteral("192.0.2.254"), outcome, addressCheck };
}

QString fileText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

unsigned modeOf(const QString &path)
{
    struct stat status
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 0777 : 0;
}

} // namespace

class TestCliOutput : public QObject
{
    Q_OBJECT

private slots:
    void duplicates_data();
    void duplicates();
    void formats_data();
    void formats();
    void hiddenCharactersAndFormulas_data();
    void hiddenCharactersAndFormulas();
    void longTextsAreBounded();
    void tableAlignsByDisplayWidth_data();
    void tableAlignsByDisplayWidth();
    void changeShowsWhatChanges_data();
    void changeShowsWhatChanges();
    void formatNames_data();
    void formatNames();
    void auditLine_data();
    void auditLine();
    void auditLogAppendsAndFlushes_data();
    void auditLogAppendsAndFlushes();
    void auditLogThatCannotOpen();
    void auditLogRefusesSymbolicLinks();
};

void TestCliOutput::duplicates_data()
{
    QTest::addColumn<QStringList>("macs");
    QTest::addColumn<QStringList>("ips");
    QTest::addColumn<QString>("flags");

    QTest::newRow("all distinct") << QStringList { "02:00:00:00:00:01", "02:00:00:00:00:02" }
                                  << QStringList { "192.0.2.64", "192.0.2.65" } << "-- --";
    QTest::newRow("same MAC, different IP")
        << QStringList { "02:00:00:00:00:01", "02:00:00:00:00:01" }
        << QStringList { "192.0.2.64", "192.0.2.65" } << "M- M-";
    QTest::newRow("same IP marks both rows, not the third")
        << QStringList { "02:00:00:00:00:01", "02:00:00:00:00:02", "02:00:00:00:00:03" }
        << QStringList { "192.0.2.64", "192.0.2.65", "192.0.2.64" } << "-I -- -I";
    QTest::newRow("a device answering twice: one row, no flag")
        << QStringList { "02:00:00:00:00:01", "02:00:00:00:00:01" }
        << QStringList { "192.0.2.64", "192.0.2.64" } << "--";
}

void TestCliOutput::duplicates()
{
    QFETCH(QStringList, macs);
    QFETCH(QStringList, ips);
    QFETCH(QString, flags);

    DeviceListModel devices;
    for (int i = 0; i < macs.size(); ++i)
        devices.append(device(QStringLiteral("d"), macs.at(i), ips.at(i)));
    QStringList marks;
    for (int row = 0; row < devices.rowCount(); ++row)
        marks << QString(devices.isDuplicateMac(row) ? "M" : "-")
                + (devices.isDuplicateIp(row) ? "I" : "-");
    QCOMPARE(marks.join(' '), flags);
}

void TestCliOutput::formats_data()
{
    QTest::addColumn<OutputFormat>("format");
    QTest::addColumn<QString>("expected");

    QTest::newRow("table")
        << OutputFormat::Table
        << "Device Type  Device Name     IP Address  MAC Address        Net Mask       "
           "Gate Way   Device Version  PLC Points  Duplicate  Adapter\n"
           "PLC          Press           192.0.2.64  02:00:00:00:00:01  255.255.255.0  "
           "192.0.2.1  1.2.0.10                    IP\n"
           "PLC          Line 2, \"west\"  192.0.2.65  02:00:00:00:00:02  255.255.255.0  "
           "192.0.2.1  1.2.0.10                               lo\n"
           "PLC          Fan             192.0.2.64  02:00:00:00:00:03  255.255.255.0  "
           "192.0.2.1  1.2.0.10                    IP\n";
    QTest::newRow("csv, a name with a comma and quotes quoted")
        << OutputFormat::Csv
        << "type,name,ip,mac,mask,gateway,version,points,duplicate,adapter\n"
           "PLC,Press,192.0.2.64,02:00:00:00:00:01,255.255.255.0,192.0.2.1,1.2.0.10,,IP,\n"
           "PLC,\"Line 2, \"\"west\"\"\",192.0.2.65,02:00:00:00:00:02,255.255.255.0,192.0.2.1,"
           "1.2.0.10,,,lo\n"
           "PLC,Fan,192.0.2.64,02:00:00:00:00:03,255.255.255.0,192.0.2.1,1.2.0.10,,IP,\n";
    QTest::newRow("json")
        << OutputFormat::Json
        << R"([{"type":"PLC","name":"Press","ip":"192.0.2.64","mac":"02:00:00:00:00:01",
                "mask":"255.255.255.0","gateway":"192.0.2.1","version":"1.2.0.10","points":"",
                "duplicateMac":false,"duplicateIp":true,"adapter":""},
               {"type":"PLC","name":"Line 2, \"west\"","ip":"192.0.2.65",
                "mac":"02:00:00:00:00:02","mask":"255.255.255.0","gateway":"192.0.2.1",
                "version":"1.2.0.10","points":"","duplicateMac":false,"duplicateIp":false,
                "adapter":"lo"},
               {"type":"PLC","name":"Fan","ip":"192.0.2.64","mac":"02:00:00:00:00:03",
                "mask":"255.255.255.0","gateway":"192.0.2.1","version":"1.2.0.10","points":"",
                "duplicateMac":false,"duplicateIp":true,"adapter":""}])";
}

void TestCliOutput::formats()
{
    QFETCH(OutputFormat, format);
    QFETCH(QString, expected);

    QVector<DeviceRecord> devices = scanned();
    // Heard on loopback, which is interface 1 in the test's namespace; the others on none known.
    devices[1].interfaceIndex = 1;
    const QString text = formatDevices(*listed(devices), format);
    if (format == OutputFormat::Json) {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &error);
        QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
        QCOMPARE(document, QJsonDocument::fromJson(expected.toUtf8()));
    } else {
        QCOMPARE(text, expected);
    }
}

void TestCliOutput::hiddenCharactersAndFormulas_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("csvCell");

    const QString pwned = QStringLiteral("\x1b]0;PWNED\a\x1b[8m");
    QTest::newRow("title-setting and hiding escapes") << pwned << "\uFFFD]0;PWNED\uFFFD\uFFFD[8m"
                                                      << "\uFFFD]0;PWNED\uFFFD\uFFFD[8m";
    QTest::newRow("formula") << "=6*7+0"
                             << "=6*7+0"
                             << "'=6*7+0";
    QTest::newRow("formula after a tab") << "\t+1"
                                         << "\uFFFD+1"
                                         << "'\uFFFD+1";
    QTest::newRow("minus and at") << "-2,@x"
                                  << "-2,@x"
                                  << "\"'-2,@x\"";
    QTest::newRow("right-to-left override") << "a\u202Eb\u2066c\u2029d"
                                            << "a\uFFFDb\uFFFDc\uFFFDd"
                                            << "a\uFFFDb\uFFFDc\uFFFDd";
    QTest::newRow("invisible tag character") << QString::fromUcs4(U"x\U000E0041y") << "x\uFFFDy"
                                             << "x\uFFFDy";
    QTest::newRow("Chinese stays") << "伺服 X"
                                   << "伺服 X"
                                   << "伺服 X";
}

void TestCliOutput::hiddenCharactersAndFormulas()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);
    QFETCH(QString, csvCell);

    const QVector<DeviceRecord> devices
        = { device(name, QStringLiteral("02:00:00:00:00:01"), QStringLiteral("192.0.2.64")) };
    QCOMPARE(formatDevices(*listed(devices), OutputFormat::Table)
                 .split('\n')
                 .at(1)
                 .mid(13, shown.size()),
        shown);
    QCOMPARE(
        formatDevices(*listed(devices), OutputFormat::Csv).split('\n').at(1).section(',', 1, -9),
        csvCell);
    const PlanEntry target { 1, devices.first().mac, newSettings() };
    QVERIFY(changeText(devices.first(), target).contains('"' + shown + '"'));
    AuditEntry audited = entry(QDateTime::currentDateTimeUtc(), name, QStringLiteral("sent"));
    QCOMPARE(::auditLine(audited).section(',', 1, -10), csvCell);
    // JSON keeps the name exact, and still nothing hidden reaches a terminal raw.
    const QString json = formatDevices(*listed(devices), OutputFormat::Json);
    QCOMPARE(QJsonDocument::fromJson(json.toUtf8()).array().first().toObject().value("name"), name);
    QString flat = json;
    flat.remove('\n');
    QCOMPARE(neutralizedText(flat), flat);
}

void TestCliOutput::longTextsAreBounded()
{
    Datagram::ScanReply reply;
    reply.mac = QByteArray::fromHex("020000000001");
    reply.name = QByteArrayLiteral("Big");
    reply.network = QByteArray::fromHex("c0000240ffffff00c0000201");
    reply.version = QByteArray(20000, char(255));
    reply.points = reply.version;
    const DeviceRecord record = deviceRecordFromReply(reply);
    const QString expected = QStringLiteral("255.").repeated(15) + QStringLiteral("2\u2026");
    QCOMPARE(record.version, expected);
    QCOMPARE(record.points, expected);
    QCOMPARE(boundedText(expected), expected);
    for (const OutputFormat format : { OutputFormat::Table, OutputFormat::Csv, OutputFormat::Json })
        QVERIFY(formatDevices(*listed({ record }), format).size() < 600);
}

void TestCliOutput::tableAlignsByDisplayWidth_data()
{
    QTest::addColumn<QStringList>("names");
    // Where the IP column starts on the terminal: the type column takes 13
    // ("Device Type" and two blanks), the name column its widest name and two.
    QTest::addColumn<int>("ipColumn");
    QTest::newRow("ASCII names") << QStringList { "Press", "Line 2 west conveyor" } << 13 + 22;
    QTest::newRow("Chinese names take two columns a character")
        << QStringList { "伺服驱动器一号", "Press" } << 13 + 16;
    QTest::newRow("Chinese shorter than the title") << QStringList { "伺服", "Fan" } << 13 + 13;
    QTest::newRow("full-width letters and a combining accent")
        << QStringList { "ＰｒｅｓｓＸ", "Cafe\u0301 line west" } << 13 + 16;
}

void TestCliOutput::tableAlignsByDisplayWidth()
{
    QFETCH(QStringList, names);
    QFETCH(int, ipColumn);
    QVector<DeviceRecord> devices;
    for (int i = 0; i < names.size(); ++i)
        devices << device(names.at(i), QStringLiteral("02:00:00:00:00:0%1").arg(i + 1),
            QStringLiteral("192.0.2.%1").arg(64 + i));
    const QStringList lines = formatDevices(*listed(devices), OutputFormat::Table)
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), names.size() + 1);
    // The terminal column of the IP cell, counted by hand: CJK and full-width take
    // two, a combining accent none.
    for (const QString &line : lines) {
        const int at = line.indexOf(QRegularExpression(QStringLiteral("IP Address|192\\.0\\.2")));
        int column = 0;
        for (const QChar c : line.left(at)) {
            const ushort u = c.unicode();
            column += (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFF60) ? 2
                : (u >= 0x0300 && u <= 0x036F)                                     ? 0
                                                                                   : 1;
        }
        QVERIFY2(column == ipColumn, qPrintable(line));
    }
}

void TestCliOutput::changeShowsWhatChanges_data()
{
    QTest::addColumn<QStringList>("target"); // IP, mask, gateway
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("changes");
    const QString device = QStringLiteral("02:00:00:00:00:01 \"Press\": ");
    QTest::newRow("all three") << QStringList { "192.0.2.10", "255.255.0.0", "192.0.0.1" }
                               << device
            + "IP 192.0.2.64 -> 192.0.2.10, mask 255.255.255.0 -> 255.255.0.0, "
              "gateway 192.0.2.1 -> 192.0.0.1"
                               << true;
    QTest::newRow("the IP alone") << QStringList { "192.0.2.10", "255.255.255.0", "192.0.2.1" }
                                  << device
            + "IP 192.0.2.64 -> 192.0.2.10 (mask 255.255.255.0, gateway 192.0.2.1 unchanged)"
                                  << true;
    QTest::newRow("the gateway alone")
        << QStringList { "192.0.2.64", "255.255.255.0", "0.0.0.0" }
        << device + "gateway 192.0.2.1 -> 0.0.0.0 (IP 192.0.2.64, mask 255.255.255.0 unchanged)"
        << true;
    QTest::newRow("nothing") << QStringList { "192.0.2.64", "255.255.255.0",
        "192.0.2.1" } << device + "no change (IP 192.0.2.64, mask 255.255.255.0, gateway 192.0.2.1)"
                             << false;
}

void TestCliOutput::changeShowsWhatChanges()
{
    QFETCH(QStringList, target);
    const DeviceRecord press = scanned().first();
    const PlanEntry entry { 1, press.mac,
        *DeviceSettings::fromTexts(target.at(0), target.at(1), target.at(2)) };
    QTEST(changeText(press, entry), "shown");
    QTEST(changesSettings(press, entry), "changes");
}

void TestCliOutput::formatNames_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("known");

    QTest::newRow("table") << "table" << true;
    QTest::newRow("csv") << "csv" << true;
    QTest::newRow("json") << "json" << true;
    QTest::newRow("upper case") << "JSON" << false;
    QTest::newRow("other") << "xml" << false;
    QTest::newRow("empty") << "" << false;
}

void TestCliOutput::formatNames()
{
    QFETCH(QString, text);
    QFETCH(bool, known);

    QCOMPARE(outputFormatFromText(text).has_value(), known);
}

void TestCliOutput::auditLine_data()
{
    QTest::addColumn<QDateTime>("time");
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<QString>("addressCheck");
    QTest::addColumn<QString>("line");

    const QDateTime utc(QDate(2026, 12, 7), QTime(7, 5, 9, 42), Qt::UTC);
    const QString addresses = QStringLiteral(
        "02:00:00:00:00:01,192.0.2.64,255.255.255.0,192.0.2.1,192.0.2.10,255.255.255.0,"
        "192.0.2.254");
    QTest::newRow("a write") << utc << "bench-7"
                             << "sent"
                             << "free"
                             << "2026-12-07T07:05:09.042Z,bench-7," + addresses + ",sent,free\n";
    QTest::newRow("local time written as UTC")
        << QDateTime(QDate(2026, 12, 7), QTime(9, 5, 9, 42), Qt::OffsetFromUTC, 2 * 3600)
        << "bench-7"
        << "verified" << QString()
        << "2026-12-07T07:05:09.042Z,bench-7," + addresses + ",verified,\n";
    QTest::newRow("fields with a comma or quote are quoted")
        << utc << "site \"A\""
        << "not verified, no answer"
        << "in use by 02:00:00:00:00:30, written anyway"
        << "2026-12-07T07:05:09.042Z,\"site \"\"A\"\"\"," + addresses
            + ",\"not verified, no answer\",\"in use by 02:00:00:00:00:30, written anyway\"\n";
}

void TestCliOutput::auditLine()
{
    QFETCH(QDateTime, time);
    QFETCH(QString, host);
    QFETCH(QString, outcome);
    QFETCH(QString, addressCheck);
    QFETCH(QString, line);

    QCOMPARE(::auditLine(entry(time, host, outcome, addressCheck)), line);
}

void TestCliOutput::auditLogAppendsAndFlushes_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("writeEnd");
    QTest::addColumn<QString>("verifyEnd");
    QTest::addColumn<QStringList>("missing");

    const QString current = auditHeaderLine().trimmed();
    const QString older = current.section(',', 0, -2);
    const QString newer = older + QStringLiteral(",operator,address_check");
    const QByteArray oldLine
        = "2026-12-01T08:00:00.000Z,bench-7,02:00:00:00:00:01,192.0.2.64,"
          "255.255.255.0,192.0.2.1,192.0.2.10,255.255.255.0,192.0.2.254,sent\n";
    QTest::newRow("new log") << QByteArray() << true << current << ",sent,free"
                             << ",verified," << QStringList();
    QTest::newRow("begun by an earlier version: its columns only")
        << (older + '\n').toUtf8() + oldLine << true << older << ",sent"
        << ",verified" << QStringList { "address_check" };
    QTest::newRow("begun by a later version: its order, its own column empty")
        << (newer + '\n').toUtf8() << true << newer << ",sent,,free"
        << ",verified,," << QStringList();
    QTest::newRow("last line cut short stays apart")
        << (current + '\n').toUtf8() + oldLine.left(40) << true << current << ",sent,free"
        << ",verified," << QStringList();
    QTest::newRow("not a log: refused") << QByteArray("notes,for,the,site\n") << false << QString()
                                        << QString() << QString() << QStringList();
}

void TestCliOutput::auditLogAppendsAndFlushes()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, opens);
    QFETCH(QString, header);
    QFETCH(QString, writeEnd);
    QFETCH(QString, verifyEnd);
    QFETCH(QStringList, missing);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("audit.csv"));
    if (!before.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
    }
    const DeviceRecord old = scanned().constFirst();
    const PlanEntry target { 1, old.mac, newSettings("192.0.2.254") };
    {
        AuditLog log(path);
        QCOMPARE(log.open(), opens);
        if (!opens) {
            QVERIFY(!log.errorString().isEmpty());
            QCOMPARE(fileText(path).toUtf8(), before);
            return;
        }
        QCOMPARE(log.missingColumns(), missing);
        QVERIFY(log.record(old, target, QStringLiteral("sent"), QStringLiteral("free")));
        // On disk while the log is still open: a batch killed now keeps its record.
        QVERIFY(fileText(path).endsWith(writeEnd + '\n'));
    }
    AuditLog again(path);
    QVERIFY(again.open());
    QVERIFY(again.record(old, target, QStringLiteral("verified")));

    // Nothing there before is rewritten; a cut line is only ended.
    const QString kept
        = QString::fromUtf8(before.isEmpty() || before.endsWith('\n') ? before : before + '\n');
    const QString text = fileText(path);
    QVERIFY(text.startsWith(kept));
    QStringList lines = text.mid(kept.size()).split('\n', Qt::SkipEmptyParts);
    if (before.isEmpty())
        QCOMPARE(lines.takeFirst(), header);
    QCOMPARE(lines.size(), 2);
    QVERIFY2(lines.at(0).endsWith(",02:00:00:00:00:01,192.0.2.64,255.255.255.0,192.0.2.1,"
                                  "192.0.2.10,255.255.255.0,192.0.2.254"
                 + writeEnd),
        qPrintable(lines.at(0)));
    QVERIFY2(lines.at(1).endsWith(verifyEnd), qPrintable(lines.at(1)));
    for (const QString &line : qAsConst(lines))
        QCOMPARE(line.count(','), header.count(','));
}

void TestCliOutput::auditLogThatCannotOpen()
{
    QTemporaryDir dir;
    AuditLog log(dir.path());
    QVERIFY(!log.open());
    QVERIFY(!log.errorString().isEmpty());
}

void TestCliOutput::auditLogRefusesSymbolicLinks()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("elsewhere"));
    const QString path = dir.filePath(QStringLiteral("state/nesdrix/audit.csv"));
    umask(022);
    AuditLog made(path);
    QVERIFY2(made.open(), qPrintable(made.errorString()));
    QCOMPARE(modeOf(path), 0640u);
    QCOMPARE(modeOf(QFileInfo(path).path()), 0700u);
    QVERIFY(QFile::link(target, dir.filePath(QStringLiteral("link.csv"))));
    AuditLog linked(dir.filePath(QStringLiteral("link.csv")));
    QVERIFY(!linked.open());
    QVERIFY(linked.errorString().contains(QStringLiteral("symbolic link")));
    QVERIFY(!QFile::exists(target));
}

QTEST_GUILESS_MAIN(TestCliOutput)
#include "tst_clioutput.moc"
