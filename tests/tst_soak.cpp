// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"
#include "dialogtesting.h"
#include "mainwindow.h"
#include "processdialog.h"
#include "programwindow.h"
#include "subdeviceinfo.h"
#include "testpeer.h"

#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include <memory>

#include <unistd.h>

// Opens and closes the device dialog and refreshes the list, round after round,
// and checks that neither leaves objects or memory behind. NESDRIX_SOAK_ROUNDS
// sets the number of rounds (the suite runs a short soak).
namespace {

QByteArray deviceReply()
{
    Datagram::ScanReply reply;
    reply.deviceType = 1;
    reply.mac = QByteArray::fromHex("001a2b3c4d5e");
    reply.name = QByteArrayLiteral("PLC1").leftJustified(Datagram::NameFieldSize, '\0');
    reply.version = QByteArray::fromHex("0102000a");
    reply.network = QByteArray::fromHex("7f000002ffffff007f000001");
    return Datagram::scanReplyDatagram(reply);
}

qint64 residentKib()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    return statm.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE) / 1024;
}

int objectCount(const QObject *root)
{
    return root->findChildren<QObject *>().size() + QApplication::allWidgets().size();
}

double growth(qint64 before, qint64 after)
{
    return 100.0 * double(after - before) / double(before);
}

} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void dialogsAndRefreshesLeaveNothing();

private:
    bool listDevice();
    // Presses the button and closes the dialog it opens as soon as it is up.
    template<typename Dialog> void pressAndClose(const char *buttonName);

    TestPeer *peer = nullptr;
    std::unique_ptr<ProgramWindow> program;
    MainWindow *window = nullptr;
    QTableView *table = nullptr;
    int dialogsSeen = 0;
};

void TestSoak::cleanup()
{
    closeLeftoverModals();
    program.reset();
    window = nullptr;
    delete peer;
    peer = nullptr;
}

bool TestSoak::listDevice()
{
    peer->sendToProgram(deviceReply());
    return QTest::qWaitFor([this] { return table->model()->rowCount() == 1; });
}

template<typename Dialog> void TestSoak::pressAndClose(const char *buttonName)
{
    QObject scope;
    whenModal<Dialog>(&scope, [this](Dialog *dialog) {
        ++dialogsSeen;
        dialog->close();
    });
    window->findChild<QPushButton *>(QLatin1String(buttonName))->click();
}

void TestSoak::dialogsAndRefreshesLeaveNothing()
{
    const int rounds = qEnvironmentVariableIntValue("NESDRIX_SOAK_ROUNDS") > 0
        ? qEnvironmentVariableIntValue("NESDRIX_SOAK_ROUNDS")
        : 100;
    peer = new TestPeer(this);
    QString error;
    QVERIFY2(peer->bind(&error), qPrintable(error));
    program = std::make_unique<ProgramWindow>();
    window = &program->window;
    window->show();
    table = window->findChild<QTableView *>(QStringLiteral("tableWidget"));

    const auto round = [this] {
        pressAndClose<SubDeviceInfo>("detailButton");
        pressAndClose<ProcessDialog>("refreshButton");
        return listDevice();
    };
    // What Qt builds once, on first use, is not a leak.
    constexpr int WarmUpRounds = 20;
    QVERIFY(listDevice());
    for (int i = 0; i < WarmUpRounds; ++i)
        QVERIFY(round());
    const int objectsBefore = objectCount(window);
    const qint64 residentBefore = residentKib();
    dialogsSeen = 0;
    for (int i = 0; i < rounds; ++i)
        QVERIFY2(round(), qPrintable(QStringLiteral("round %1").arg(i)));
    const int objectsAfter = objectCount(window);
    const qint64 residentAfter = residentKib();

    qInfo("soak: %d device dialogs and %d refreshes; objects %d -> %d (%+.1f%%), "
          "resident %lld -> %lld KiB (%+.1f%%)",
        rounds, rounds, objectsBefore, objectsAfter, growth(objectsBefore, objectsAfter),
        residentBefore, residentAfter, growth(residentBefore, residentAfter));
    QCOMPARE(dialogsSeen, 2 * rounds);
    QVERIFY(qAbs(growth(objectsBefore, objectsAfter)) <= 5);
    // AddressSanitizer keeps freed memory in quarantine; there LeakSanitizer checks.
#ifndef __SANITIZE_ADDRESS__
    QVERIFY(growth(residentBefore, residentAfter) <= 5);
#endif
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
