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
#include <QProcess>
#include <QTableView>
#include <QtTest>

#include <memory>

namespace {

// The servo of tests/fleets/foreign-device.txt, still on its factory subnet.
const QString Servo = QStringLiteral("02:4E:58:00:20:02 203.0.113.10 New servo");
const QString ServoIp = QStringLiteral("203.0.113.10");

} // namespace

// A device outside the host's subnet on the same cable (tests/netns-fleet.sh
// --foreign-device), worked from the window: reached by a broadcast on the
// adapter that heard it.
class TestFleetForeign : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void flashesStopsAndTakesModify();
    void sendFailureIsToldAndKeepsTheDialog();

private:
    // Opens the servo's dialog, acting on it with act once it is up.
    void openServo(std::function<void(SubDeviceInfo *)> act);

    std::unique_ptr<ProgramWindow> program;
    MainWindow *window = nullptr;
};

void TestFleetForeign::initTestCase()
{
    QVERIFY2(!simulatorLog().isEmpty(), "run through netns-fleet.sh --foreign-device");
    program = std::make_unique<ProgramWindow>();
    window = &program->window;
    QVERIFY2(program->endpoint.isBound(), qPrintable(program->endpoint.bindErrorString()));
    QTRY_COMPARE(window->findChild<QTableView *>()->model()->rowCount(), 2);
}

void TestFleetForeign::cleanupTestCase()
{
    closeLeftoverModals();
    program.reset();
}

void TestFleetForeign::flashesStopsAndTakesModify()
{
    bool flashed = false;
    openServo([&](SubDeviceInfo *dialog) {
        flashed = QTest::qWaitFor(
            [] { return simulatorLogCount(QStringLiteral("LED flashing on: ") + Servo) == 1; });
        endDeviceDialog(dialog, CloseButton);
    });
    QVERIFY(flashed);
    QTRY_COMPARE(simulatorLogCount(QStringLiteral("LED flashing off: ") + Servo), 1);

    openServo([](SubDeviceInfo *dialog) { endDeviceDialog(dialog, SuccessfulModify); });
    QTRY_COMPARE(simulatorLogCount(QStringLiteral("restarted: 02:4E:58:00:20:02 192.0.2.20")), 1);
    QVERIFY(simulatorLogCount(QStringLiteral("arrived on eth0 at 255.255.255.255 from 192.0.2.1"))
        >= 4);
}

void TestFleetForeign::sendFailureIsToldAndKeepsTheDialog()
{
    // The cable pulled between listing and writing.
    QCOMPARE(QProcess::execute(QStringLiteral("ip"), { "link", "set", "veth0", "down" }), 0);
    QString flashText;
    QString boxText;
    bool keptOpen = false;
    openServo([&](SubDeviceInfo *dialog) {
        flashText = labelText(*dialog, "flashFailedLabel");
        whenModal<QMessageBox>(dialog, [&](QMessageBox *box) {
            boxText = box->text();
            box->close();
        });
        endDeviceDialog(dialog, SuccessfulModify);
        keptOpen = dialog->isVisible();
        dialog->close();
    });
    QVERIFY2(flashText.startsWith(QLatin1String("The device's LEDs cannot be flashed: ")),
        qPrintable(flashText));
    QVERIFY2(
        boxText.startsWith(QLatin1String("The new settings could not be sent to the device: ")),
        qPrintable(boxText));
    QVERIFY(keptOpen);
}

void TestFleetForeign::openServo(std::function<void(SubDeviceInfo *)> act)
{
    auto *table = window->findChild<QTableView *>();
    const QModelIndexList found = table->model()->match(
        table->model()->index(0, IpAddressColumn), Qt::DisplayRole, ServoIp);
    QCOMPARE(found.size(), 1);
    table->setCurrentIndex(found.first());
    whenModal<SubDeviceInfo>(this, act);
    QTest::mouseClick(
        window->findChild<QPushButton *>(QStringLiteral("detailButton")), Qt::LeftButton);
}

QTEST_MAIN(TestFleetForeign)
#include "tst_fleetforeign.moc"
