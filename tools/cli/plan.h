// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef PLAN_H
#define PLAN_H

#include "devicerecord.h"

#include <QString>
#include <QVector>

// One device of a commissioning plan: the MAC it answers with and the settings
// it is to get, with the plan line they came from.
struct PlanEntry
{
    int lineNo = 0;
    MacAddress mac;
    DeviceSettings settings;
};

// A plan line that cannot be carried out, and why.
struct PlanProblem
{
    int lineNo = 0;
    QString message;
};

struct ParsedPlan
{
    QVector<PlanEntry> entries;
    QVector<PlanProblem> problems;
};

// The device dialog's message for the first of the texts that fails its checks,
// followed by that text in quotes and the rule it breaks; empty when all pass.
QString settingsProblem(
    const QString &mac, const QString &ip, const QString &mask, const QString &gateway);

// Reads plan text: one "MAC,IP,MASK,GATEWAY" a line (the MAC with colons,
// dashes or no separator), an optional header line
// whose first field is "MAC", blank lines and lines starting with "#" skipped.
// A line that does not have four fields, or whose addresses fail the device
// dialog's checks, is a problem and gives no entry.
ParsedPlan parsePlan(const QString &text);

// Checks the whole plan against the devices that answered the scan: every MAC
// answered exactly once and is planned once, no two entries share a new IP, and
// no new IP is held by a device outside the plan. Gives these problems and those
// found in reading the plan, in line order.
QVector<PlanProblem> checkPlan(const ParsedPlan &plan, const QVector<DeviceRecord> &devices);

// What a scan after a write shows of it: verified only when exactly one reply
// carries the target's MAC and that reply shows the new settings. Anything that
// claims the MAC as well makes the answer doubtful, so it is not verified.
extern const QString VerifiedOutcome;
QString verificationOutcome(const QVector<DeviceRecord> &devices, const PlanEntry &target);

// "line 7: ..." for each problem, one a line.
QString planProblemsText(const QVector<PlanProblem> &problems);

// The records carrying the MAC, in the order they answered.
QVector<DeviceRecord> devicesWithMac(const QVector<DeviceRecord> &devices, MacAddress mac);

#endif // PLAN_H
