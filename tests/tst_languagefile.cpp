// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "languagesettings.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// Where the language choice is kept: beside the program when that file can be
// written, otherwise in the user's configuration folder.
class TestLanguageFile : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void fileFollowsProgramFolder_data();
    void fileFollowsProgramFolder();
    void choiceSurvivesRestart_data();
    void choiceSurvivesRestart();
    void readOnlyCopyBesideProgramIsLeftAlone();

private:
    static QString besideProgram();
    static QString inUserFolder();
    static QByteArray contents(const QString &path);

    QTemporaryDir configHome;
};

void TestLanguageFile::initTestCase()
{
    QVERIFY(configHome.isValid());
    // The user's configuration folder of this run, not the real one. Windows
    // names it itself; its test mode keeps the run out of the user's own.
#ifdef Q_OS_WIN
    QStandardPaths::setTestModeEnabled(true);
#else
    qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
#endif
    QCoreApplication::setApplicationName(QStringLiteral("nesdrix"));
}

void TestLanguageFile::init()
{
    QFile::remove(besideProgram());
    QFile::remove(inUserFolder());
}

void TestLanguageFile::cleanup()
{
    LanguageSettings::setWritableCheck({});
    init();
}

QString TestLanguageFile::besideProgram()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/language.ini");
}

QString TestLanguageFile::inUserFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
        + QStringLiteral("/language.ini");
}

QByteArray TestLanguageFile::contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestLanguageFile::fileFollowsProgramFolder_data()
{
    QTest::addColumn<bool>("replaceCheck");
    QTest::addColumn<bool>("programFolderWritable");
    QTest::addColumn<bool>("expectBesideProgram");

    // The build's own folder is writable: the real check must find so.
    QTest::newRow("real check") << false << false << true;
    QTest::newRow("program folder writable") << true << true << true;
    QTest::newRow("program folder read-only") << true << false << false;
}

void TestLanguageFile::fileFollowsProgramFolder()
{
    QFETCH(bool, replaceCheck);
    QFETCH(bool, programFolderWritable);
    QFETCH(bool, expectBesideProgram);

    if (replaceCheck)
        LanguageSettings::setWritableCheck([=](const QString &) { return programFolderWritable; });
    QCOMPARE(LanguageSettings::settingsFilePath(),
        expectBesideProgram ? besideProgram() : inUserFolder());
#ifndef Q_OS_WIN
    QVERIFY(inUserFolder().startsWith(configHome.path() + QStringLiteral("/nesdrix/")));
#endif
    QVERIFY(inUserFolder().endsWith(QStringLiteral("/nesdrix/language.ini")));
}

void TestLanguageFile::choiceSurvivesRestart_data()
{
    QTest::addColumn<bool>("programFolderWritable");
    QTest::addColumn<QString>("language");

    QTest::newRow("beside program, Chinese") << true << LanguageSettings::Chinese;
    QTest::newRow("beside program, English") << true << LanguageSettings::English;
    QTest::newRow("user folder, Chinese") << false << LanguageSettings::Chinese;
    QTest::newRow("user folder, English") << false << LanguageSettings::English;
}

void TestLanguageFile::choiceSurvivesRestart()
{
    QFETCH(bool, programFolderWritable);
    QFETCH(QString, language);

    LanguageSettings::setWritableCheck([=](const QString &) { return programFolderWritable; });
    LanguageSettings::storeLanguage(language);
    QCOMPARE(LanguageSettings::storedLanguage(), language);

    // The same format in either place; the other place gets nothing. The user's
    // folder did not exist before: storing creates it.
    const QString used = programFolderWritable ? besideProgram() : inUserFolder();
    const QString unused = programFolderWritable ? inUserFolder() : besideProgram();
#ifdef Q_OS_WIN
    const QByteArray lineEnd("\r\n");
#else
    const QByteArray lineEnd("\n");
#endif
    QCOMPARE(contents(used), "[Languages]" + lineEnd + "languages=" + language.toUtf8() + lineEnd);
    QVERIFY(!QFile::exists(unused));
}

void TestLanguageFile::readOnlyCopyBesideProgramIsLeftAlone()
{
    // A run as root left its choice beside an installed program; an ordinary user
    // can read that file but not replace it.
    LanguageSettings::storeLanguage(LanguageSettings::Chinese);
    const QByteArray rootsChoice = contents(besideProgram());
    LanguageSettings::setWritableCheck([](const QString &path) { return path != besideProgram(); });

    QCOMPARE(LanguageSettings::storedLanguage(), QString());
    LanguageSettings::storeLanguage(LanguageSettings::English);
    QCOMPARE(LanguageSettings::storedLanguage(), LanguageSettings::English);
    QCOMPARE(contents(besideProgram()), rootsChoice);
}

QTEST_GUILESS_MAIN(TestLanguageFile)
#include "tst_languagefile.moc"
