// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "addresschecker.h"
#include "mysocket.h"
#include "simulatorlog.h"

#include <QtTest>

// The check before a write, against the kernel's own neighbour resolution: the
// devices' side of the cable (tests/netns-fleet.sh --peer-address 192.0.2.30)
// answers ARP for 192.0.2.30 but no scan, and nobody holds 192.0.2.150.
class TestFleetAddressCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void check_data();
    void check();
    void checkSoonAfterAnotherGivesTheSameAnswer();

private:
    AddressCheckResult checkAddress(const QString &ip, qint64 *elapsedMs = nullptr);

    MySocket *socket = nullptr;
    AddressChecker *checker = nullptr;
    QVector<DeviceRecord> listed;
    DeviceRecord panel;
};

void TestFleetAddressCheck::initTestCase()
{
    QVERIFY2(!simulatorLog().isEmpty(), "run through netns-fleet.sh --peer-address 192.0.2.30");
    QVERIFY(!qEnvironmentVariableIsEmpty("NESDRIX_PEER_MAC"));
    socket = new MySocket(this);
    socket->initUdpSocket();
    QVERIFY2(socket->isBound(), qPrintable(socket->bindErrorString()));
    connect(socket, &MySocket::deviceReplied, this,
        [this](const DeviceRecord &device) { listed.append(device); });
    QVERIFY(socket->udpSendCmdScan().anySent());
    QTRY_COMPARE(listed.size(), 5);
    for (const DeviceRecord &device : qAsConst(listed)) {
        if (device.name() == QLatin1String("Panel 1"))
            panel = device;
    }
    QVERIFY(panel.interfaceIndex > 0);
    checker = new AddressChecker(
        [this](const QHostAddress &ip, int index, QString *error) {
            return socket->udpSendAddressProbe(ip, index, error);
        },
        this);
}

void TestFleetAddressCheck::check_data()
{
    QTest::addColumn<QString>("newIp");
    QTest::addColumn<QString>("expected");

    const QString peer = qEnvironmentVariable("NESDRIX_PEER_MAC");
    QTest::newRow("station that never answers a scan") << "192.0.2.30"
                                                       << "in use by " + peer;
    QTest::newRow("nobody holds it") << "192.0.2.150"
                                     << "free";
    QTest::newRow("listed device") << "192.0.2.68"
                                   << "in use by 02:4E:58:00:00:05";
    QTest::newRow("this computer") << "192.0.2.1"
                                   << "in use by this computer";
    QTest::newRow("other subnet") << "203.0.113.150"
                                  << "not checked: other subnet";
    QTest::newRow("unchanged") << "192.0.2.65"
                               << "unchanged";
}

void TestFleetAddressCheck::check()
{
    QFETCH(QString, newIp);
    QFETCH(QString, expected);

    qint64 elapsedMs = 0;
    const AddressCheckResult result = checkAddress(newIp, &elapsedMs);
    qInfo(
        "%s: %s after %lld ms", qPrintable(newIp), qPrintable(addressCheckText(result)), elapsedMs);
    QCOMPARE(addressCheckText(result), expected);
}

void TestFleetAddressCheck::checkSoonAfterAnotherGivesTheSameAnswer()
{
    // The entries the first checks left behind (failed, reachable) must not
    // make a second check answer from an old state.
    QCOMPARE(addressCheckText(checkAddress(QStringLiteral("192.0.2.151"))), QStringLiteral("free"));
    QCOMPARE(addressCheckText(checkAddress(QStringLiteral("192.0.2.151"))), QStringLiteral("free"));
    QCOMPARE(addressCheckText(checkAddress(QStringLiteral("192.0.2.30"))),
        "in use by " + qEnvironmentVariable("NESDRIX_PEER_MAC"));
}

AddressCheckResult TestFleetAddressCheck::checkAddress(const QString &ip, qint64 *elapsedMs)
{
    QElapsedTimer timer;
    timer.start();
    QSignalSpy finished(checker, &AddressChecker::finished);
    std::optional<AddressCheckResult> result
        = checker->start(panel, *Ipv4Address::fromText(ip), listed);
    if (!result) {
        [&] { QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 2 * AddressChecker::DeadlineMs); }();
        if (!finished.isEmpty())
            result = finished.constFirst().constFirst().value<AddressCheckResult>();
    }
    if (elapsedMs)
        *elapsedMs = timer.elapsed();
    return result.value_or(AddressCheckResult());
}

QTEST_GUILESS_MAIN(TestFleetAddressCheck)
#include "tst_fleetaddresscheck.moc"
