// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "simulatorlog.h"

#include <QFile>

QStringList simulatorLog()
{
    QFile file(qEnvironmentVariable("NESDRIX_SIM_LOG"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

int simulatorLogCount(const QString &start)
{
    const QStringList lines = simulatorLog();
    return int(std::count_if(
        lines.begin(), lines.end(), [&](const QString &line) { return line.startsWith(start); }));
}
