// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "ansibleinventory.h"
#include "testdevices.h"

#include <QJsonArray>
#include <QtTest>

namespace {

// "TYPE CODE|name|MAC" per device, in the order they answered.
QVector<DeviceRecord> devices(const QStringList &lines)
{
    QVector<DeviceRecord> records;
    for (const QString &line : lines) {
        const QStringList fields = line.split(QLatin1Char('|'));
        TestDevice device;
        device.type = quint8(fields.at(0).toUInt());
        device.name = fields.at(1);
        device.mac = fields.at(2);
        device.ip = QStringLiteral("192.0.2.%1").arg(records.size() + 64);
        records.append(device.record());
    }
    return records;
}

// "group: host host" per group, in the inventory's order.
QStringList groupLines(const QJsonObject &inventory)
{
    QStringList lines;
    for (auto group = inventory.constBegin(); group != inventory.constEnd(); ++group) {
        if (group.key() == QLatin1String("_meta"))
            continue;
        QStringList hosts;
        for (const QJsonValue &host : group.value().toObject().value(QLatin1String("hosts")).toArray())
            hosts << host.toString();
        lines << group.key() + QLatin1String(": ") + hosts.join(QLatin1Char(' '));
    }
    return lines;
}

} // namespace

class TestAnsibleInventory : public QObject
{
    Q_OBJECT

private slots:
    void namesAndGroups_data();
    void namesAndGroups();
    void hostVariables();
};

void TestAnsibleInventory::namesAndGroups_data()
{
    QTest::addColumn<QStringList>("answered");
    QTest::addColumn<QStringList>("groups");

    QTest::newRow("empty network") << QStringList() << QStringList();
    QTest::newRow("one of each type")
        << QStringList { "1|Press PLC|02:00:00:00:00:01", "2|Panel|02:00:00:00:00:02",
               "3|Axis X|02:00:00:00:00:03", "4|Fan|02:00:00:00:00:04" }
        << QStringList { "hmi: panel", "plc: press_plc", "servo: axis_x", "vfd: fan" };
    QTest::newRow("punctuation, spaces and hidden characters")
        << QStringList { "1|  Line-2/west, \"A\"  |02:00:00:00:00:01",
               QStringLiteral("1|Oven\u202Eevil|02:00:00:00:00:02"),
               "1|../../etc|02:00:00:00:00:03" }
        << QStringList { "plc: line_2_west_a oven_evil etc" };
    QTest::newRow("letters of any script, lower case")
        << QStringList { QStringLiteral("3|伺服 X|02:00:00:00:00:01"),
               QStringLiteral("2|ÉCRAN 2|02:00:00:00:00:02") }
        << QStringList { QStringLiteral("hmi: écran_2"), QStringLiteral("servo: 伺服_x") };
    QTest::newRow("a shared name takes the MAC, for every device")
        << QStringList { "2|Panel|02:00:00:00:00:01", "2|panel!|02:00:00:00:00:02",
               "2|Other|02:00:00:00:00:03" }
        << QStringList { "hmi: panel_020000000001 panel_020000000002 other" };
    QTest::newRow("the same MAC and name twice are numbered")
        << QStringList { "1|Press|02:00:00:00:00:01", "1|Press|02:00:00:00:00:01" }
        << QStringList { "plc: press_020000000001 press_020000000001_2" };
    QTest::newRow("a name made of the MAC does not take another's")
        << QStringList { "1|Press|02:00:00:00:00:01", "1|Press|02:00:00:00:00:02",
               "1|press 020000000001|02:00:00:00:00:03" }
        << QStringList { "plc: press_020000000001 press_020000000002 press_020000000001_2" };
    QTest::newRow("a group's name is no host name")
        << QStringList { "1|PLC|02:00:00:00:00:01", "2|all|02:00:00:00:00:02",
               "4|Ungrouped|02:00:00:00:00:03" }
        << QStringList { "hmi: all_020000000002", "plc: plc_020000000001",
               "vfd: ungrouped_020000000003" };
    QTest::newRow("no name: the type's, or device")
        << QStringList { "2||02:00:00:00:00:01", "9|%%|02:00:00:00:00:02" }
        << QStringList { "hmi: hmi_020000000001", "ungrouped: device_020000000002" };
    QTest::newRow("a long name is cut")
        << QStringList { QStringLiteral("1|%1|02:00:00:00:00:01").arg(QString(100, QLatin1Char('n'))) }
        << QStringList { QStringLiteral("plc: %1").arg(QString(40, QLatin1Char('n'))) };
}

void TestAnsibleInventory::namesAndGroups()
{
    QFETCH(QStringList, answered);
    QFETCH(QStringList, groups);

    const QJsonObject inventory = ansibleInventory(devices(answered));
    QCOMPARE(groupLines(inventory), groups);
    const QJsonObject hostvars
        = inventory.value(QLatin1String("_meta")).toObject().value(QLatin1String("hostvars")).toObject();
    QCOMPARE(hostvars.size(), answered.size());
    // Every listed host has its variables, and every device its own host.
    QSet<QString> ips;
    for (const QString &line : groups) {
        for (const QString &host : line.section(QLatin1String(": "), 1).split(QLatin1Char(' ')))
            ips.insert(ansibleHostVariables(inventory, host).value(QLatin1String("ansible_host")).toString());
    }
    QCOMPARE(ips.size(), answered.size());
}

void TestAnsibleInventory::hostVariables()
{
    TestDevice answered;
    answered.name = QStringLiteral("Press");
    answered.mac = QStringLiteral("02:4E:58:00:00:01");
    answered.mask = QStringLiteral("255.255.255.192");
    answered.gateway = QStringLiteral("192.0.2.126");
    answered.version = QByteArray::fromHex("0102000a");
    DeviceRecord device = answered.record();
    // Loopback is the first adapter of the test's fresh namespace.
    device.interfaceIndex = 1;
    const QJsonObject inventory = ansibleInventory({ device });

    const QJsonObject expected { { "ansible_host", "192.0.2.64" },
        { "nesdrix_mac", "02:4E:58:00:00:01" }, { "nesdrix_type", "PLC" },
        { "nesdrix_name", "Press" }, { "nesdrix_mask", "255.255.255.192" },
        { "nesdrix_gateway", "192.0.2.126" }, { "nesdrix_version", "1.2.0.10" },
        { "nesdrix_adapter", "lo" } };
    QCOMPARE(ansibleHostVariables(inventory, QStringLiteral("press")), expected);
    QVERIFY(ansibleHostVariables(inventory, QStringLiteral("Press")).isEmpty());
}

QTEST_GUILESS_MAIN(TestAnsibleInventory)
#include "tst_ansibleinventory.moc"
