// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "plan.h"

#include "devicetext.h"
#include "safetext.h"

#include <QHash>
#include <QSet>
#include <QStringList>

#include <algorithm>

namespace {

constexpr int PlanFieldCount = 4;

bool isSkippedLine(const QString &line)
{
    return line.isEmpty() || line.startsWith(QLatin1Char('#'));
}

QStringList planFields(const QString &line)
{
    QStringList fields = line.split(QLatin1Char(','));
    for (QString &field : fields)
        field = field.trimmed();
    return fields;
}

bool isHeader(const QStringList &fields)
{
    return fields.first().compare(QLatin1String("MAC"), Qt::CaseInsensitive) == 0;
}

} // namespace

QString settingsProblem(
    const QString &mac, const QString &ip, const QString &mask, const QString &gateway)
{
    const std::optional<SettingsFault> fault = settingsFault(ip, mask, gateway, mac);
    if (!fault)
        return {};
    const QString fieldTexts[] = { ip, mask, gateway, mac };
    // The text comes from a file or the command line: shown short and harmless.
    const QString failed = boundedText(neutralizedText(fieldTexts[fault->field]));
    return QStringLiteral("%1 \"%2\": %3")
        .arg(settingsFieldErrorText(fault->field), failed, fault->rule);
}

namespace {

// The first plan line each value appears on.
class FirstLines
{
public:
    // The earlier line the value appeared on, or 0 when this line is the first.
    int earlierLine(const QString &value, int lineNo)
    {
        const auto found = lines.constFind(value);
        if (found != lines.constEnd())
            return *found;
        lines.insert(value, lineNo);
        return 0;
    }

private:
    QHash<QString, int> lines;
};

// What the scan says against the entry: its MAC must answer once, and no
// device outside the plan may hold its new IP.
QStringList networkProblems(
    const PlanEntry &entry, const QVector<DeviceRecord> &devices, const QSet<quint64> &plannedMacs)
{
    QStringList messages;
    const QString mac = entry.mac.toString();
    const QVector<DeviceRecord> answered = devicesWithMac(devices, entry.mac);
    if (answered.isEmpty())
        messages << QStringLiteral("MAC %1 did not answer the scan").arg(mac);
    else if (answered.size() > 1)
        messages << QStringLiteral("MAC %1 answered %2 times").arg(mac).arg(answered.size());
    for (const DeviceRecord &device : devices) {
        // An address is held only on the network the planned device is on.
        const bool sameNetwork
            = answered.size() != 1 || device.interfaceIndex == answered.constFirst().interfaceIndex;
        if (sameNetwork && device.ip == entry.settings.ip
            && !plannedMacs.contains(device.mac.toUInt64()))
            messages << QStringLiteral("new IP %1 is held by %2, which is not in the plan")
                            .arg(entry.settings.ip.toString(), device.mac.toString());
    }
    return messages;
}

void sortByLine(QVector<PlanProblem> &problems)
{
    std::stable_sort(problems.begin(), problems.end(),
        [](const PlanProblem &a, const PlanProblem &b) { return a.lineNo < b.lineNo; });
}

} // namespace

ParsedPlan parsePlan(const QString &text)
{
    ParsedPlan plan;
    // Spreadsheets save CSV with a byte order mark in front of the first line.
    const QStringList lines
        = (text.startsWith(QChar::ByteOrderMark) ? text.mid(1) : text).split(QLatin1Char('\n'));
    bool firstContentLine = true;
    for (int index = 0; index < lines.size(); ++index) {
        const QString line = lines.at(index).trimmed();
        if (isSkippedLine(line))
            continue;
        const int lineNo = index + 1;
        const QStringList fields = planFields(line);
        const bool header = firstContentLine && isHeader(fields);
        firstContentLine = false;
        if (header)
            continue;
        if (fields.size() != PlanFieldCount) {
            // Spreadsheets in many languages save "CSV" with semicolons.
            const bool semicolons = fields.size() == 1 && line.contains(QLatin1Char(';'));
            plan.problems.append({ lineNo,
                semicolons ? QStringLiteral("fields are separated by commas, not semicolons: "
                                            "MAC,IP,MASK,GATEWAY")
                           : QStringLiteral("expected 4 fields MAC,IP,MASK,GATEWAY, found %1")
                                 .arg(fields.size()) });
            continue;
        }
        const QString problem
            = settingsProblem(fields.at(0), fields.at(1), fields.at(2), fields.at(3));
        if (!problem.isEmpty()) {
            plan.problems.append({ lineNo, problem });
            continue;
        }
        plan.entries.append({ lineNo, *MacAddress::fromText(fields.at(0)),
            *DeviceSettings::fromTexts(fields.at(1), fields.at(2), fields.at(3)) });
    }
    return plan;
}

QVector<PlanProblem> checkPlan(const ParsedPlan &plan, const QVector<DeviceRecord> &devices)
{
    QSet<quint64> plannedMacs;
    for (const PlanEntry &entry : plan.entries)
        plannedMacs.insert(entry.mac.toUInt64());

    QVector<PlanProblem> problems = plan.problems;
    FirstLines macLines;
    FirstLines ipLines;
    for (const PlanEntry &entry : plan.entries) {
        QStringList messages;
        const QString mac = entry.mac.toString();
        const QString ip = entry.settings.ip.toString();
        if (const int earlier = macLines.earlierLine(mac, entry.lineNo))
            messages
                << QStringLiteral("MAC %1 is already planned on line %2").arg(mac).arg(earlier);
        if (const int earlier = ipLines.earlierLine(ip, entry.lineNo))
            messages
                << QStringLiteral("new IP %1 is already planned on line %2").arg(ip).arg(earlier);
        messages << networkProblems(entry, devices, plannedMacs);
        for (const QString &message : qAsConst(messages))
            problems.append({ entry.lineNo, message });
    }
    sortByLine(problems);
    return problems;
}

const QString VerifiedOutcome = QStringLiteral("verified");

QString verificationOutcome(const QVector<DeviceRecord> &devices, const PlanEntry &target)
{
    const QVector<DeviceRecord> answers = devicesWithMac(devices, target.mac);
    if (answers.isEmpty())
        return QStringLiteral("not verified (no answer)");
    if (answers.size() == 2)
        return QStringLiteral("not verified (answered twice)");
    if (answers.size() > 2)
        return QStringLiteral("not verified (answered %1 times)").arg(answers.size());
    const DeviceRecord &device = answers.constFirst();
    if (device.settings() != target.settings)
        return QStringLiteral("not verified (other settings)");
    return VerifiedOutcome;
}

QString planProblemsText(const QVector<PlanProblem> &problems)
{
    QString text;
    for (const PlanProblem &problem : problems)
        text += QStringLiteral("line %1: %2\n").arg(problem.lineNo).arg(problem.message);
    return text;
}

QVector<DeviceRecord> devicesWithMac(const QVector<DeviceRecord> &devices, MacAddress mac)
{
    QVector<DeviceRecord> found;
    for (const DeviceRecord &device : devices) {
        if (device.mac == mac)
            found.append(device);
    }
    return found;
}
