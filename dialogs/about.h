// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef ABOUT_H
#define ABOUT_H

#include <QDialog>

// The program's version, date, maker and web address.
class About : public QDialog
{
    Q_OBJECT

public:
    explicit About(QWidget *parent);

private:
    void createLayout();
};

#endif // ABOUT_H
