// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "about.h"
#include "dialogtesting.h"
#include "languagesettings.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTranslator>
#include <QtTest>

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void texts_data();
    void texts();
    void dateUsesFullWidthColon();
    void webAddressIsPlainWords();
    void extraRoomGoesToVersionRow();
    void okCloses();
};

void TestAbout::cleanup()
{
    closeLeftoverModals();
}

void TestAbout::texts_data()
{
    QTest::addColumn<bool>("chinese");
    QTest::addColumn<QStringList>("expected");

    // Title, the four rows, the button.
    QTest::newRow("English") << false
                             << QStringList { "About", "Version:1.00.00.00139", "Date：2016-05-16",
                                    "Copyright © 2016 The Nesdrix developers",
                                    "https://nesdrix.example.org", "OK" };
    // The date and the web address never pass through the catalogue.
    QTest::newRow("Chinese") << true
                             << QStringList { "关于", "版本：1.00.00.00139", "日期：2016-05-16",
                                    "版权所有 © 2016 Nesdrix 开发者", "https://nesdrix.example.org",
                                    "确定" };
}

void TestAbout::texts()
{
    QFETCH(bool, chinese);
    QFETCH(QStringList, expected);
    QTranslator translator;
    if (chinese) {
        QVERIFY(translator.load(LanguageSettings::catalogueFilePath()));
        QCoreApplication::installTranslator(&translator);
    }

    QWidget parent;
    About dialog(&parent);
    const QStringList shown = { dialog.windowTitle(), labelText(dialog, "versionLabel"),
        labelText(dialog, "dateLabel"), labelText(dialog, "copyrightLabel"),
        labelText(dialog, "webAddressLabel"), dialog.findChild<QPushButton *>()->text() };
    QCOMPARE(shown, expected);
    QVERIFY(hasDialogFlags(&dialog));
}

void TestAbout::dateUsesFullWidthColon()
{
    QWidget parent;
    About dialog(&parent);
    QCOMPARE(labelText(dialog, "dateLabel").toUtf8(),
        QByteArray("Date\xEF\xBC\x9A"
                   "2016-05-16"));
    QCOMPARE(labelText(dialog, "versionLabel").at(7), QLatin1Char(':'));
}

void TestAbout::webAddressIsPlainWords()
{
    QWidget parent;
    About dialog(&parent);
    auto *label = dialog.findChild<QLabel *>(QStringLiteral("webAddressLabel"));
    QCOMPARE(label->textFormat(), Qt::PlainText);
    QVERIFY(!label->openExternalLinks());
    QVERIFY(!(label->textInteractionFlags() & Qt::TextSelectableByMouse));
}

void TestAbout::extraRoomGoesToVersionRow()
{
    QWidget parent;
    About dialog(&parent);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *version = dialog.findChild<QLabel *>(QStringLiteral("versionLabel"));
    auto *date = dialog.findChild<QLabel *>(QStringLiteral("dateLabel"));
    auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("okButton"));
    const int versionHeight = version->height();
    const int dateHeight = date->height();

    dialog.resize(dialog.width() + 200, dialog.height() + 100);
    QTRY_VERIFY(version->height() >= versionHeight + 100);
    QCOMPARE(date->height(), dateHeight);
    QVERIFY(qAbs(ok->geometry().center().x() - version->geometry().center().x()) <= 1);
}

void TestAbout::okCloses()
{
    QWidget parent;
    About dialog(&parent);
    QCOMPARE(execPressingOk(dialog), int(QDialog::Rejected));
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
