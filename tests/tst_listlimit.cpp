// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"
#include "devicelistmodel.h"
#include "mainwindow.h"
#include "programwindow.h"
#include "testpeer.h"

#include <QLabel>
#include <QtTest>

// A scan answered by more devices than the list holds, at a limit small enough
// for the suite: the first replies are listed, the rest only counted.
class TestListLimit : public QObject
{
    Q_OBJECT

private slots:
    void repliesPastTheLimitAreCounted();
};

void TestListLimit::repliesPastTheLimitAreCounted()
{
    constexpr int Limit = 50;
    constexpr int Replies = 80;
    TestPeer peer;
    QString error;
    QVERIFY2(peer.bind(&error), qPrintable(error));
    ProgramWindow program;
    MainWindow &window = program.window;
    window.show();
    auto *devices = window.findChild<DeviceListModel *>();
    auto *leftOut = window.findChild<QLabel *>(QStringLiteral("leftOutLabel"));
    QVERIFY(devices && leftOut);
    devices->setMaxListed(Limit);
    QVERIFY(leftOut->isHidden());

    Datagram::ScanReply reply;
    reply.deviceType = 1;
    reply.name = QByteArrayLiteral("PLC-1").leftJustified(Datagram::NameFieldSize, '\0');
    reply.version = QByteArray::fromHex("0102000a");
    reply.network = QByteArray::fromHex("c0000240ffffff00c0000201");
    for (int number = 1; number <= Replies; ++number) {
        reply.mac = QByteArray::fromHex("0200000000") + QByteArray(1, char(number));
        peer.sendToProgram(Datagram::scanReplyDatagram(reply));
    }
    QTRY_COMPARE(devices->leftOutCount(), Replies - Limit);
    QCOMPARE(devices->rowCount(), Limit);
    QCOMPARE(devices->record(Limit - 1).mac.toString(), QStringLiteral("02:00:00:00:00:32"));
    QTRY_VERIFY(leftOut->isVisible());
    QCOMPARE(
        leftOut->text(), QStringLiteral("30 replies left out: a scan lists at most 50 devices"));

    // A new scan starts from an empty list and a count of none.
    window.startScan();
    QCOMPARE(devices->leftOutCount(), 0);
    QVERIFY(leftOut->isHidden());
}

QTEST_MAIN(TestListLimit)
#include "tst_listlimit.moc"
