// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "devicelistmodel.h"
#include "dialogtesting.h"
#include "mainwindow.h"
#include "programwindow.h"
#include "simulatorlog.h"
#include "subdeviceinfo.h"

#include <QMessageBox>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {

// How the user answers the box that says the address is taken.
enum class Answer { NoBox, Escape, Cancel, WriteAnyway };

} // namespace

Q_DECLARE_METATYPE(Answer)

// Modify in the window against tests/fleets/five-devices.txt (restarting 300 ms
// after a write) and a station at 192.0.2.30 that answers ARP but no scan
// (tests/netns-fleet.sh --peer-address 192.0.2.30).
class TestFleetWriteCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void cleanup();
    void modify_data();
    void modify();

private:
    std::unique_ptr<ProgramWindow> program;
    MainWindow *window = nullptr;
};

void TestFleetWriteCheck::initTestCase()
{
    QVERIFY2(!simulatorLog().isEmpty(), "run through netns-fleet.sh --peer-address 192.0.2.30");
    program = std::make_unique<ProgramWindow>();
    window = &program->window;
    QVERIFY2(program->endpoint.isBound(), qPrintable(program->endpoint.bindErrorString()));
    window->setWriteConfirmationLimit(10000);
    QTRY_COMPARE(window->findChild<QTableView *>()->model()->rowCount(), 5);
}

void TestFleetWriteCheck::cleanupTestCase()
{
    closeLeftoverModals();
    program.reset();
}

void TestFleetWriteCheck::cleanup()
{
    closeLeftoverModals();
}

void TestFleetWriteCheck::modify_data()
{
    QTest::addColumn<QString>("mac");
    QTest::addColumn<QString>("newIp");
    // Typed over the device's own when not empty.
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("gateway");
    QTest::addColumn<Answer>("answer");
    QTest::addColumn<bool>("written");
    // The end of the status bar's line about the write; empty when nothing was written.
    QTest::addColumn<QString>("status");

    const QString panel = QStringLiteral("02:4E:58:00:00:02");
    const QString keep;
    QTest::newRow("taken, Escape")
        << panel << "192.0.2.30" << keep << keep << Answer::Escape << false << "";
    QTest::newRow("taken, Cancel")
        << panel << "192.0.2.30" << keep << keep << Answer::Cancel << false << "";
    QTest::newRow("taken, Write Anyway")
        << "02:4E:58:00:00:04"
        << "192.0.2.30" << keep << keep << Answer::WriteAnyway << true
        << "02:4E:58:00:00:04 answers at 192.0.2.30 with its new settings.";
    QTest::newRow("free") << panel << "192.0.2.150" << keep << keep << Answer::NoBox << true
                          << panel + " answers at 192.0.2.150 with its new settings.";
    QTest::newRow("other subnet")
        << "02:4E:58:00:00:05"
        << "203.0.113.150"
        << "255.255.255.0"
        << "203.0.113.1" << Answer::NoBox << true
        << "203.0.113.150 could not be checked before writing: it lies on no subnet of the "
           "network adapter that heard the device. ";
}

void TestFleetWriteCheck::modify()
{
    QFETCH(QString, mac);
    QFETCH(QString, newIp);
    QFETCH(QString, mask);
    QFETCH(QString, gateway);
    QFETCH(Answer, answer);
    QFETCH(bool, written);
    QFETCH(QString, status);

    auto *table = window->findChild<QTableView *>();
    QModelIndexList found;
    QTRY_VERIFY((found = table->model()->match(
                     table->model()->index(0, MacAddressColumn), Qt::DisplayRole, mac))
                    .size()
        == 1);
    table->setCurrentIndex(found.first());
    const int writesBefore = simulatorLogCount(QStringLiteral("modify request for ") + mac);

    QString checkingText;
    QString boxText;
    bool cancelIsDefault = false;
    bool keptOpen = false;
    QString typedIp;
    whenModal<SubDeviceInfo>(this, [&](SubDeviceInfo *dialog) {
        const auto type = [dialog](const char *field, const QString &text) {
            auto *edit = dialog->findChild<QLineEdit *>(QLatin1String(field));
            edit->selectAll();
            QTest::keyClicks(edit, text);
        };
        type("ipEdit", newIp);
        if (!mask.isEmpty()) {
            type("netMaskEdit", mask);
            type("gateWayEdit", gateway);
        }
        auto *ip = dialog->findChild<QLineEdit *>(QStringLiteral("ipEdit"));
        if (answer != Answer::NoBox) {
            whenModal<QMessageBox>(dialog, [&](QMessageBox *box) {
                boxText = box->text();
                cancelIsDefault = box->defaultButton() == box->escapeButton()
                    && box->defaultButton() != box->findChild<QPushButton *>("writeAnywayButton");
                if (answer == Answer::Escape)
                    QTest::keyClick(box, Qt::Key_Escape);
                else if (answer == Answer::Cancel)
                    box->defaultButton()->click();
                else
                    box->findChild<QPushButton *>("writeAnywayButton")->click();
            });
        }
        QTest::mouseClick(
            dialog->findChild<QPushButton *>(QStringLiteral("modifyButton")), Qt::LeftButton);
        checkingText = dialog->findChild<QLabel *>(QStringLiteral("addressCheckLabel"))->isVisible()
            ? labelText(*dialog, "addressCheckLabel")
            : QString();
        if (!QTest::qWaitFor([&] { return !dialog->isVisible() || !boxText.isEmpty(); }, 10000))
            qWarning("neither a write nor the box came");
        keptOpen = dialog->isVisible();
        typedIp = ip->text();
        dialog->close();
    });
    QTest::mouseClick(
        window->findChild<QPushButton *>(QStringLiteral("detailButton")), Qt::LeftButton);

    if (!newIp.startsWith(QLatin1String("203.")))
        QCOMPARE(checkingText, QStringLiteral("Checking that %1 is free...").arg(newIp));
    if (answer != Answer::NoBox) {
        QVERIFY2(boxText.startsWith(newIp + " is already in use by "
                     + qEnvironmentVariable("NESDRIX_PEER_MAC") + "."),
            qPrintable(boxText));
        QVERIFY(cancelIsDefault);
    }
    QCOMPARE(keptOpen, !written);
    if (!written)
        QCOMPARE(typedIp, newIp);
    QTRY_COMPARE(simulatorLogCount(QStringLiteral("modify request for ") + mac),
        writesBefore + (written ? 1 : 0));
    if (!written)
        return;
    auto *statusLabel = window->findChild<QLabel *>(QStringLiteral("writeStatusLabel"));
    QTRY_VERIFY2_WITH_TIMEOUT(statusLabel->text().endsWith(status)
            || (status.endsWith(' ') && statusLabel->text().startsWith(status)),
        qPrintable(statusLabel->text()), 15000);
}

QTEST_MAIN(TestFleetWriteCheck)
#include "tst_fleetwritecheck.moc"
