// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "simulatorlog.h"

#include <QFile>

QStringList simulatorLog(const char *variable)
{
    QFile file(qEnvironmentVariable(variable));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

int simulatorLogCount(const QString &start, const char *variable)
{
    const QStringList lines = simulatorLog(variable);
    return int(std::count_if(
        lines.begin(), lines.end(), [&](const QString &line) { return line.startsWith(start); }));
}
