// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "addresschecks.h"
#include "interruptwatcher.h"
#include "testdevices.h"

#include <QNetworkInterface>
#include <QtTest>

// The checks of a plan's lines, side by side and bounded, in the private
// namespace of tests/netns-run.sh, whose adapter nxrun0 holds 192.0.2.1/24. The
// probes are not sent, so no on-link address ever gets an answer.
class TestAddressChecks : public QObject
{
    Q_OBJECT

private slots:
    void checksAreBoundedAndKeepTheJobsOrder();
};

void TestAddressChecks::checksAreBoundedAndKeepTheJobsOrder()
{
    DeviceRecord device;
    device.mac = macOf(QStringLiteral("02:4E:58:00:00:02"));
    device.ip = ipOf(QStringLiteral("192.0.2.65"));
    device.interfaceIndex = QNetworkInterface::interfaceIndexFromName(QStringLiteral("nxrun0"));
    QVERIFY2(device.interfaceIndex > 0, "run through tests/netns-run.sh");
    const QStringList newIps = { "192.0.2.150", "192.0.2.151", "203.0.113.5", "192.0.2.65",
        "192.0.2.152", "192.0.2.153", "192.0.2.154" };
    QVector<AddressCheckJob> jobs;
    for (const QString &ip : newIps)
        jobs.append({ device, ipOf(ip) });

    QElapsedTimer sinceStart;
    QVector<QPair<QString, qint64>> probes;
    const AddressProbeSender record = [&](const QHostAddress &ip, int, QString *) {
        probes.append({ ip.toString(), sinceStart.elapsed() });
        return true;
    };
    InterruptWatcher watcher;
    sinceStart.start();
    const std::optional<QVector<AddressCheckResult>> results
        = runAddressChecks(jobs, { device }, record, watcher, 3);

    QVERIFY(results.has_value());
    QStringList texts;
    for (const AddressCheckResult &result : *results)
        texts << addressCheckText(result);
    const QString noAnswer = QStringLiteral("not checked: no answer in time");
    QCOMPARE(texts,
        QStringList({ noAnswer, noAnswer, "not checked: other subnet", "unchanged", noAnswer,
            noAnswer, noAnswer }));
    // Three at once; the fourth probe only once one of them has run to its end.
    QCOMPARE(probes.size(), 5);
    for (int index = 0; index < probes.size(); ++index) {
        QCOMPARE(probes.at(index).first,
            QStringList(
                { "192.0.2.150", "192.0.2.151", "192.0.2.152", "192.0.2.153", "192.0.2.154" })
                .at(index));
        QVERIFY2((probes.at(index).second >= AddressChecker::DeadlineMs) == (index >= 3),
            qPrintable(
                QStringLiteral("probe %1 at %2 ms").arg(index).arg(probes.at(index).second)));
    }
}

QTEST_GUILESS_MAIN(TestAddressChecks)
#include "tst_addresschecks.moc"
