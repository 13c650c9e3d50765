// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef WARNINGBOX_H
#define WARNINGBOX_H

#include <QString>

class QWidget;

// A modal warning with a single button that carries the caller's own
// (translated) text, as the boxes of the window have always had.
void showWarning(
    QWidget *parent, const QString &title, const QString &text, const QString &buttonText);

#endif // WARNINGBOX_H
