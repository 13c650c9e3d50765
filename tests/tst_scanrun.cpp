// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"
#include "mysocket.h"
#include "scanrun.h"
#include "testpeer.h"

#include <QElapsedTimer>
#include <QtTest>

// The tries of a scan as the device side sees them, in the test's private
// network namespace.
class TestScanRun : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void triesAreSpreadOut_data();
    void triesAreSpreadOut();
    void aNewRunEndsTheTriesOfTheOneBefore();

private:
    // The scan requests the peer has seen, by sequence number.
    QList<quint32> scanSequenceNos() const;

    MySocket *endpoint = nullptr;
    TestPeer *peer = nullptr;
    ScanRun *run = nullptr;
};

void TestScanRun::init()
{
    peer = new TestPeer(this);
    QString error;
    QVERIFY2(peer->bind(&error), qPrintable(error));
    endpoint = new MySocket(this);
    endpoint->initUdpSocket();
    QVERIFY2(endpoint->isBound(), qPrintable(endpoint->bindErrorString()));
    run = new ScanRun(endpoint, this);
}

void TestScanRun::cleanup()
{
    delete run;
    delete endpoint;
    delete peer;
}

QList<quint32> TestScanRun::scanSequenceNos() const
{
    QList<quint32> numbers;
    for (const QByteArray &datagram : qAsConst(peer->broadcasts)) {
        const std::optional<Datagram::Request> request = Datagram::parseRequest(datagram);
        if (request && request->kind == Datagram::Request::Scan)
            numbers << request->sequenceNo;
    }
    return numbers;
}

void TestScanRun::triesAreSpreadOut_data()
{
    QTest::addColumn<int>("tries");
    QTest::addColumn<QList<quint32>>("sequenceNos");

    QTest::newRow("one") << 1 << QList<quint32> { 0 };
    QTest::newRow("the default") << ScanRun::DefaultTries << QList<quint32> { 0, 1, 2 };
    QTest::newRow("four") << 4 << QList<quint32> { 0, 1, 2, 3 };
    QTest::newRow("asked for 0, sends one") << 0 << QList<quint32> { 0 };
}

void TestScanRun::triesAreSpreadOut()
{
    QFETCH(int, tries);
    QFETCH(QList<quint32>, sequenceNos);

    run->setTries(tries);
    QSignalSpy finished(run, &ScanRun::finished);
    QList<qint64> sentAtMs;
    QElapsedTimer clock;
    clock.start();
    connect(run, &ScanRun::trySent, this, [&](int tryNo) {
        QCOMPARE(tryNo, sentAtMs.size());
        sentAtMs << clock.elapsed();
        QCOMPARE(run->isRunning(), tryNo + 1 < sequenceNos.size());
    });
    run->start();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    QCOMPARE(sentAtMs.size(), sequenceNos.size());
    // Never a burst: each try waits at least its gap, however busy the machine.
    for (int tryNo = 1; tryNo < sentAtMs.size(); ++tryNo)
        QVERIFY2(sentAtMs.at(tryNo) - sentAtMs.at(tryNo - 1)
                >= ScanRun::tryOffsetMs(tryNo) - ScanRun::tryOffsetMs(tryNo - 1),
            qPrintable(QString::number(sentAtMs.at(tryNo))));
    QTRY_COMPARE(scanSequenceNos(), sequenceNos);
    // Every try's copy leaves with the bytes of the one scan request.
    QCOMPARE(peer->broadcasts.constLast(), Datagram::scanRequest(sequenceNos.constLast()));
    QVERIFY(run->report().anySent());
}

void TestScanRun::aNewRunEndsTheTriesOfTheOneBefore()
{
    QSignalSpy finished(run, &ScanRun::finished);
    QSignalSpy sent(run, &ScanRun::trySent);
    run->start();
    QTRY_COMPARE(scanSequenceNos().size(), 1);
    run->start();
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
    QCOMPARE(sent.count(), 4);
    // The run before never sends again: the last try of the new run leaves
    // after any try the run before had pending.
    QCOMPARE(scanSequenceNos(), QList<quint32>({ 0, 1, 2, 3 }));
    QVERIFY(!run->isRunning());
}

QTEST_GUILESS_MAIN(TestScanRun)
#include "tst_scanrun.moc"
