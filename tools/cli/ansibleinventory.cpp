// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "ansibleinventory.h"

#include "devicelistmodel.h"

#include <QJsonArray>
#include <QMap>
#include <QSet>

namespace {

// Long enough for any name a device carries; a path or pattern stays readable.
constexpr int MaxNameLength = 40;

const QString Ungrouped = QStringLiteral("ungrouped");

QString groupOf(const DeviceRecord &device)
{
    const QString type = device.typeText();
    return type.isEmpty() ? Ungrouped : type.toLower();
}

// Letters and digits of any script are kept: host names are used in patterns
// and as host_vars file names, where only punctuation and spaces get in the way.
QString safeName(const QString &name)
{
    QString safe;
    bool gap = false;
    for (const QChar c : name) {
        if (!c.isLetterOrNumber()) {
            gap = true;
            continue;
        }
        if (gap && !safe.isEmpty())
            safe += QLatin1Char('_');
        gap = false;
        safe += c.toLower();
    }
    return safe.left(MaxNameLength);
}

QString macDigits(const DeviceRecord &device)
{
    return QString::fromLatin1(device.mac.toBytes().toHex());
}

bool isGroupName(const QString &name)
{
    static const QSet<QString> groups = { QStringLiteral("all"), Ungrouped, QStringLiteral("plc"),
        QStringLiteral("hmi"), QStringLiteral("servo"), QStringLiteral("vfd") };
    return groups.contains(name);
}

QStringList hostNames(const QVector<DeviceRecord> &devices)
{
    QHash<QString, int> shared;
    for (const DeviceRecord &device : devices)
        ++shared[safeName(device.name())];

    QStringList names;
    QSet<QString> taken;
    for (const DeviceRecord &device : devices) {
        const QString base = safeName(device.name());
        QString name = base;
        if (base.isEmpty())
            name = device.typeText().isEmpty() ? QStringLiteral("device") : groupOf(device);
        if (base.isEmpty() || shared.value(base) > 1 || isGroupName(name))
            name += QLatin1Char('_') + macDigits(device);
        QString unique = name;
        for (int number = 2; taken.contains(unique); ++number)
            unique = QStringLiteral("%1_%2").arg(name).arg(number);
        taken.insert(unique);
        names << unique;
    }
    return names;
}

QJsonObject hostVariables(const DeviceRecord &device)
{
    return { { QStringLiteral("ansible_host"), device.ip.toString() },
        { QStringLiteral("nesdrix_mac"), device.mac.toString() },
        { QStringLiteral("nesdrix_type"), device.typeText() },
        { QStringLiteral("nesdrix_name"), device.name() },
        { QStringLiteral("nesdrix_mask"), device.mask.toString() },
        { QStringLiteral("nesdrix_gateway"), device.gateway.toString() },
        { QStringLiteral("nesdrix_version"), device.version },
        { QStringLiteral("nesdrix_adapter"), adapterName(device.interfaceIndex) } };
}

} // namespace

QJsonObject ansibleInventory(const QVector<DeviceRecord> &devices)
{
    const QStringList names = hostNames(devices);
    QJsonObject hostvars;
    QMap<QString, QJsonArray> groups;
    for (int i = 0; i < devices.size(); ++i) {
        hostvars.insert(names.at(i), hostVariables(devices.at(i)));
        groups[groupOf(devices.at(i))].append(names.at(i));
    }
    QJsonObject inventory { { QStringLiteral("_meta"),
        QJsonObject { { QStringLiteral("hostvars"), hostvars } } } };
    for (auto group = groups.cbegin(); group != groups.cend(); ++group)
        inventory.insert(group.key(), QJsonObject { { QStringLiteral("hosts"), group.value() } });
    return inventory;
}

QJsonObject ansibleHostVariables(const QJsonObject &inventory, const QString &host)
{
    return inventory.value(QStringLiteral("_meta"))
        .toObject()
        .value(QStringLiteral("hostvars"))
        .toObject()
        .value(host)
        .toObject();
}
