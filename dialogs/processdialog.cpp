// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "processdialog.h"

#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {
constexpr int TickIntervalMs = 50;
constexpr int StepCount = 10;
constexpr int StepSize = 10;
} // namespace

ProcessDialog::ProcessDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QObject::tr("Scan"));
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    createLayout();
    timer = new QTimer(this);
    timer->start(TickIntervalMs);
    connect(timer, &QTimer::timeout, this, &ProcessDialog::timeOutSlot);
    tickCount = 0;
}

void ProcessDialog::timeOutSlot()
{
    ++tickCount;
    // The tick after the last step asks for more than the maximum, which the bar
    // ignores, and ends the pause.
    progressBar->setValue(StepSize * tickCount);
    if (tickCount > StepCount)
        close();
}

void ProcessDialog::createLayout()
{
    scanLabel = new QLabel(tr("scaning...."));
    scanLabel->setObjectName(QStringLiteral("scanLabel"));
    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("progressBar"));
    progressBar->setRange(0, StepCount * StepSize);
    progressBar->setValue(0);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(scanLabel);
    layout->addWidget(progressBar);
}
