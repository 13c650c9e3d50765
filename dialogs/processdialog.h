// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef PROCESSDIALOG_H
#define PROCESSDIALOG_H

#include <QDialog>

class QLabel;
class QProgressBar;
class QTimer;

// A fixed pause of about 550 ms with a progress animation, shown before a rescan.
class ProcessDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ProcessDialog(QWidget *parent);

private slots:
    void timeOutSlot();

private:
    void createLayout();

    QLabel *scanLabel = nullptr;
    QTimer *timer = nullptr;
    QProgressBar *progressBar = nullptr;
    int tickCount = 0;
};

#endif // PROCESSDIALOG_H
