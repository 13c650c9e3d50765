// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "warningbox.h"

#include <QMessageBox>

void showWarning(
    QWidget *parent, const QString &title, const QString &text, const QString &buttonText)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, parent);
    box.setDefaultButton(box.addButton(buttonText, QMessageBox::ActionRole));
    box.exec();
}
