// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "deviceformat.h"
#include "devicewatch.h"
#include "differenceformat.h"
#include "testdevices.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

Q_DECLARE_METATYPE(OutputFormat)

namespace {

// The devices these tests save, read back and watch are servo drives.
constexpr quint8 Servo = 3;

// The list as the window's export or `scan --format csv|json` writes it.
QByteArray saved(const QVector<DeviceRecord> &list, OutputFormat format)
{
    DeviceListModel model;
    model.appendRecords(list);
    return formatDevices(model, format).toUtf8();
}

Snapshot parsed(const QByteArray &bytes)
{
    SnapshotError error;
    const std::optional<Snapshot> list = parseSnapshot(bytes, &error);
    if (!list)
        qWarning("line %d: %s", error.lineNo, qPrintable(error.reason));
    return list.value_or(Snapshot {});
}

} // namespace

class TestDeviceDiff : public QObject
{
    Q_OBJECT

private slots:
    void comparedLists_data();
    void comparedLists();
    void refusedFiles_data();
    void refusedFiles();
    void watchedScans_data();
    void watchedScans();
    void watchLinesCarryTheirTime();
};

void TestDeviceDiff::comparedLists_data()
{
    QTest::addColumn<QString>("oldList");
    QTest::addColumn<OutputFormat>("oldFormat");
    QTest::addColumn<QString>("newList");
    QTest::addColumn<OutputFormat>("newFormat");
    QTest::addColumn<QStringList>("expected");

    const auto csv = OutputFormat::Csv;
    const auto json = OutputFormat::Json;
    const QString three
        = QStringLiteral("01=Press@192.0.2.64;02=Axis@192.0.2.65;03=Fan@192.0.2.66");
    QTest::newRow("the same") << three << csv << three << csv << QStringList();
    QTest::newRow("re-addressed")
        << three << csv
        << QStringLiteral("01=Press@192.0.2.64;02=Axis@192.0.2.90;03=Fan@192.0.2.66") << csv
        << QStringList { R"(changed 02:4E:58:00:02:02 "Axis": ip 192.0.2.65 -> 192.0.2.90)" };
    QTest::newRow("renamed")
        << three << json
        << QStringLiteral("01=Press 2@192.0.2.64;02=Axis@192.0.2.65;03=Fan@192.0.2.66") << json
        << QStringList { R"(changed 02:4E:58:00:02:01 "Press 2": name "Press" -> "Press 2")" };
    QTest::newRow("two swap their IPs")
        << three << csv
        << QStringLiteral("01=Press@192.0.2.65;02=Axis@192.0.2.64;03=Fan@192.0.2.66") << csv
        << QStringList { R"(changed 02:4E:58:00:02:01 "Press": ip 192.0.2.64 -> 192.0.2.65)",
               R"(changed 02:4E:58:00:02:02 "Axis": ip 192.0.2.65 -> 192.0.2.64)" };
    QTest::newRow("an IP taken over by another MAC")
        << three << csv
        << QStringLiteral("01=Press@192.0.2.64;09=Axis@192.0.2.65;03=Fan@192.0.2.66") << json
        << QStringList { R"(new 02:4E:58:00:02:09 "Axis" 192.0.2.65)",
               R"(missing 02:4E:58:00:02:02 "Axis" 192.0.2.65)" };
    QTest::newRow("a MAC twice, never merged")
        << QStringLiteral("01=Press@192.0.2.64;02=Axis@192.0.2.65") << csv
        << QStringLiteral("01=Press@192.0.2.64;02=Axis@192.0.2.65;02=Axis@192.0.2.70") << csv
        << QStringList { R"(duplicate 02:4E:58:00:02:02 listed 2 times in the new list: "Axis" )"
                         R"(192.0.2.65 (line 3), "Axis" 192.0.2.70 (line 4))" };
    QTest::newRow("from an empty list")
        << QString() << json << QStringLiteral("01=Press@192.0.2.64") << csv
        << QStringList { R"(new 02:4E:58:00:02:01 "Press" 192.0.2.64)" };
    QTest::newRow("to an empty list")
        << QStringLiteral("01=Press@192.0.2.64") << json << QString() << csv
        << QStringList { R"(missing 02:4E:58:00:02:01 "Press" 192.0.2.64)" };
    // Names the CSV writer quotes, marks against formulas or holds with a placeholder.
    const QString awkward = QStringLiteral(
        "01=Line 2, \"west\"@192.0.2.64;02=-1+2@192.0.2.65;03=\tTab\x1b[31m@192.0.2.66");
    QTest::newRow("CSV against JSON of one scan")
        << awkward << csv << awkward << json << QStringList();
    QTest::newRow("JSON against CSV of one scan")
        << awkward << json << awkward << csv << QStringList();
}

void TestDeviceDiff::comparedLists()
{
    QFETCH(QString, oldList);
    QFETCH(OutputFormat, oldFormat);
    QFETCH(QString, newList);
    QFETCH(OutputFormat, newFormat);
    QFETCH(QStringList, expected);

    const QVector<DeviceDifference> differences
        = compareSnapshots(parsed(saved(devicesFromText(oldList, Servo), oldFormat)),
            parsed(saved(devicesFromText(newList, Servo), newFormat)));
    QStringList lines = differencesText(differences).split(QLatin1Char('\n'));
    QCOMPARE(lines.takeLast(), QString());
    QCOMPARE(lines, expected);
}

void TestDeviceDiff::refusedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("lineNo");
    QTest::addColumn<QString>("reason");

    const QByteArray header = "type,name,ip,mac,mask,gateway,version,points,duplicate\n";
    const QByteArray good
        = "PLC,Press,192.0.2.64,02:4E:58:00:02:01,255.255.255.0,192.0.2.1,1.0,,\n";
    QTest::newRow("empty file") << QByteArray("\n\n") << 0 << "empty";
    QTest::newRow("no list of devices")
        << QByteArray("MAC,IP,MASK,GATEWAY\n") << 1 << "no column \"type\"";
    QTest::newRow("column named twice")
        << QByteArray("type,name,ip,mac,mask,gateway,version,points,ip\n") << 1 << "twice";
    QTest::newRow("a field short") << header + good + "PLC,Press,192.0.2.64\n" << 3 << "3 fields";
    QTest::newRow("bad MAC") << header + good
            + "PLC,x,192.0.2.64,02:4E:58,255.255.255.0,192.0.2.1,1.0,,\n"
                             << 3 << "\"02:4E:58\" is no MAC address";
    QTest::newRow("bad mask") << header
            + "PLC,x,192.0.2.64,02:4E:58:00:02:01,255.255.256.0,192.0.2.1,1.0,,\n"
                              << 2 << "the mask \"255.255.256.0\"";
    QTest::newRow("unclosed quote")
        << header + "PLC,\"Press,192.0.2.64,02:4E:58:00:02:01,255.255.255.0,192.0.2.1,1.0,,\n"
        << 2 << "not closed";
    QTest::newRow("stray quote") << header
            + "PLC,Pre\"ss,192.0.2.64,02:4E:58:00:02:01,255.255.255.0,192.0.2.1,1.0,,\n"
                                 << 2 << "not quoted";
    QTest::newRow("not UTF-8") << header + good
            + "PLC,Pr\xff"
              "ss\n" << 3 << "UTF-8";
    QTest::newRow("broken JSON") << QByteArray("[\n  {\"mac\": \n") << 3 << "";
    QTest::newRow("JSON object, not a list")
        << QByteArray("{\"mac\": \"x\"}") << 0 << "no list of devices";
    QTest::newRow("JSON device without its IP")
        << QByteArray("[\n{\"type\":\"PLC\",\"name\":\"P\"},\n\n{\"mac\":1}\n]") << 2
        << "device 1 has no text \"ip\"";
    QTest::newRow("JSON number for a text") << QByteArray(
        R"([{"type":"PLC","name":"P","ip":"192.0.2.1","mac":"02:4E:58:00:02:01",)"
        R"("mask":"255.255.255.0","gateway":"192.0.2.1","version":"1","points":""},)"
        "\n"
        R"({"type":"PLC","name":7}])") << 2 << "device 2 has no text \"name\"";
}

void TestDeviceDiff::refusedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, lineNo);
    QFETCH(QString, reason);

    SnapshotError error;
    QVERIFY(!parseSnapshot(bytes, &error));
    QCOMPARE(error.lineNo, lineNo);
    QVERIFY2(error.reason.contains(reason), qPrintable(error.reason));
}

void TestDeviceDiff::watchedScans_data()
{
    QTest::addColumn<QStringList>("scans");
    QTest::addColumn<QStringList>("lastEvents");

    const QString two = QStringLiteral("01=Press@192.0.2.64;02=Axis@192.0.2.65");
    QTest::newRow("first scan: every device appears")
        << QStringList { two }
        << QStringList { R"(appeared 02:4E:58:00:02:01 "Press" 192.0.2.64)",
               R"(appeared 02:4E:58:00:02:02 "Axis" 192.0.2.65)" };
    QTest::newRow("nothing new") << QStringList { two, two } << QStringList();
    QTest::newRow("one lost reply is no alarm")
        << QStringList { two, QStringLiteral("01=Press@192.0.2.64"), two } << QStringList();
    QTest::newRow("gone after two missed scans") << QStringList {
        two, QStringLiteral("01=Press@192.0.2.64"), QStringLiteral("01=Press@192.0.2.64")
    } << QStringList { R"(gone 02:4E:58:00:02:02 "Axis" 192.0.2.65)" };
    QTest::newRow("gone once, then back")
        << QStringList { two, QString(), QString(), QString(), two }
        << QStringList { R"(appeared 02:4E:58:00:02:01 "Press" 192.0.2.64)",
               R"(appeared 02:4E:58:00:02:02 "Axis" 192.0.2.65)" };
    QTest::newRow("re-addressed after a lost reply")
        << QStringList { two, QStringLiteral("01=Press@192.0.2.64"),
               QStringLiteral("01=Press@192.0.2.64;02=Axis@192.0.2.90") }
        << QStringList { R"(changed 02:4E:58:00:02:02 "Axis": ip 192.0.2.65 -> 192.0.2.90)" };
    QTest::newRow("added, changed and gone at once")
        << QStringList { two, QStringLiteral("02=Axis@192.0.2.66;07=Drive@192.0.2.70"),
               QStringLiteral("02=Axis@192.0.2.66;07=Drive@192.0.2.70") }
        << QStringList { R"(gone 02:4E:58:00:02:01 "Press" 192.0.2.64)" };
    QTest::newRow("a MAC twice is followed by its lower IP, whatever the order")
        << QStringList { QStringLiteral("01=A@192.0.2.70;01=B@192.0.2.64"),
               QStringLiteral("01=B@192.0.2.64;01=A@192.0.2.70") }
        << QStringList();
}

void TestDeviceDiff::watchedScans()
{
    QFETCH(QStringList, scans);
    QFETCH(QStringList, lastEvents);

    DeviceWatch watch;
    QStringList events;
    for (const QString &scan : scans) {
        events.clear();
        for (const DeviceDifference &event : watch.takeScan(devicesFromText(scan, Servo)))
            events << differenceLine(event, DifferenceWords::Watch);
    }
    QCOMPARE(events, lastEvents);
}

void TestDeviceDiff::watchLinesCarryTheirTime()
{
    DeviceWatch watch;
    watch.takeScan(devicesFromText(QStringLiteral("01=Press@192.0.2.64"), Servo));
    const QVector<DeviceDifference> events
        = watch.takeScan(devicesFromText(QStringLiteral("01=Press \"1\"@192.0.2.70"), Servo));
    QCOMPARE(events.size(), 1);
    const QDateTime time(QDate(2026, 12, 7), QTime(15, 2, 11, 480), Qt::UTC);

    QCOMPARE(watchEventLine(time, events.first(), false),
        QStringLiteral(R"(2026-12-07T15:02:11.480Z changed 02:4E:58:00:02:01 "Press "1"": )"
                       R"(name "Press" -> "Press "1"", ip 192.0.2.64 -> 192.0.2.70)"));
    const QString json = watchEventLine(time, events.first(), true);
    QVERIFY(json.startsWith(QLatin1String(R"({"time":"2026-12-07T15:02:11.480Z",)")));
    QVERIFY(!json.contains(QLatin1Char('\n')));
    QJsonParseError error;
    const QJsonObject object = QJsonDocument::fromJson(json.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(object.value(QLatin1String("event")).toString(), QStringLiteral("changed"));
    QCOMPARE(object.value(QLatin1String("old")).toObject().value(QLatin1String("ip")).toString(),
        QStringLiteral("192.0.2.64"));
    QCOMPARE(object.value(QLatin1String("new")).toObject().value(QLatin1String("name")).toString(),
        QStringLiteral("Press \"1\""));
}

QTEST_GUILESS_MAIN(TestDeviceDiff)
#include "tst_devicediff.moc"
