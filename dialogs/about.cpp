// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "about.h"

#include "version.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

const char BuildDate[] = "2016-05-16";
const char WebAddress[] = "https://nesdrix.example.org";

constexpr int LayoutMargin = 10;
constexpr int LayoutSpacing = 10;
constexpr int ButtonRow = 4;
constexpr int ButtonRowMinimumHeight = 20;

QLabel *createLabel(const QString &text, const QString &objectName)
{
    auto *label = new QLabel(text);
    label->setObjectName(objectName);
    return label;
}

// The project's version as the About box has always shown it: 1.0.0.139 as
// "1.00.00.00139".
QString versionText()
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(NESDRIX_VERSION_MAJOR)
        .arg(NESDRIX_VERSION_MINOR, 2, 10, QLatin1Char('0'))
        .arg(NESDRIX_VERSION_PATCH, 2, 10, QLatin1Char('0'))
        .arg(NESDRIX_VERSION_TWEAK, 5, 10, QLatin1Char('0'));
}

} // namespace

About::About(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QObject::tr("About"));
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    createLayout();
}

void About::createLayout()
{
    auto *layout = new QGridLayout;
    // Row 0 and column 0 take whatever room the user adds by resizing.
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(0, 1);
    layout->setContentsMargins(LayoutMargin, LayoutMargin, LayoutMargin, LayoutMargin);
    layout->setSpacing(LayoutSpacing);
    layout->setColumnMinimumWidth(1, 1);
    layout->setRowMinimumHeight(ButtonRow, ButtonRowMinimumHeight);

    layout->addWidget(
        createLabel(tr("Version:") + versionText(), QStringLiteral("versionLabel")), 0, 0);
    layout->addWidget(
        createLabel(tr("Date：") + QLatin1String(BuildDate), QStringLiteral("dateLabel")), 1, 0);
    layout->addWidget(createLabel(tr("Copyright © 2016 The Nesdrix developers"),
                          QStringLiteral("copyrightLabel")),
        2, 0);
    // An address as plain words: not a link, and never read as markup.
    QLabel *webAddressLabel
        = createLabel(QLatin1String(WebAddress), QStringLiteral("webAddressLabel"));
    webAddressLabel->setTextFormat(Qt::PlainText);
    layout->addWidget(webAddressLabel, 3, 0);

    auto *okButton = new QPushButton(tr("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    connect(okButton, &QPushButton::clicked, this, &About::close);
    layout->addWidget(okButton, ButtonRow, 0, 1, 1, Qt::AlignHCenter);

    setLayout(layout);
}
