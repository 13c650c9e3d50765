// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "addresscheck.h"
#include "testdevices.h"

#include <QtTest>

Q_DECLARE_METATYPE(NeighbourState)

namespace {

const QString DeviceMac = QStringLiteral("02:4E:58:00:00:02");
const QString HolderMac = QStringLiteral("02:4E:58:00:00:30");
const QString Pending = QStringLiteral("(waiting)");

QVector<InterfaceAddress> addressesFrom(const QString &text)
{
    QVector<InterfaceAddress> addresses;
    const QStringList entries = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &entry : entries)
        addresses.append({ QHostAddress(entry.section(QLatin1Char('/'), 0, 0)),
            entry.section(QLatin1Char('/'), 1).toInt() });
    return addresses;
}

} // namespace

class TestAddressCheck : public QObject
{
    Q_OBJECT

private slots:
    void decision_data();
    void decision();
    void listedHolderIsOnTheSameAdapter_data();
    void listedHolderIsOnTheSameAdapter();
};

void TestAddressCheck::decision_data()
{
    QTest::addColumn<QString>("newIp");
    // The name of a listed device holding the new IP; empty for none.
    QTest::addColumn<QString>("listHolder");
    QTest::addColumn<QString>("adapterAddresses");
    QTest::addColumn<QString>("systemError");
    QTest::addColumn<NeighbourState>("state");
    QTest::addColumn<QString>("neighbourMac");
    QTest::addColumn<bool>("deadlinePassed");
    // What the audit log would say, or Pending while the table is still asked.
    QTest::addColumn<QString>("expected");

    using S = NeighbourState;
    const QString plant = QStringLiteral("192.0.2.1/24");
    const QString none;
    QTest::newRow("unchanged") << "192.0.2.65" << none << plant << none << S::None << none << false
                               << "unchanged";
    QTest::newRow("listed holder, at once") << "192.0.2.66"
                                            << "Press PLC" << plant << none << S::None << none
                                            << false << "in use by 02:4E:58:00:00:66";
    QTest::newRow("listed holder off the subnet") << "203.0.113.10"
                                                  << "Press PLC" << plant << none << S::None << none
                                                  << false << "in use by 02:4E:58:00:00:66";
    QTest::newRow("other subnet") << "203.0.113.150" << none << plant << none << S::None << none
                                  << false << "not checked: other subnet";
    QTest::newRow("second address of the adapter")
        << "203.0.113.150" << none << "192.0.2.1/24 203.0.113.1/24" << none << S::Failed << none
        << false << "free";
    QTest::newRow("adapter gone") << "192.0.2.150" << none << none << none << S::None << none
                                  << false << "not checked: adapter unknown";
    QTest::newRow("this computer's address") << "192.0.2.1" << none << plant << none << S::None
                                             << none << false << "in use by this computer";
    QTest::newRow("probe refused")
        << "192.0.2.150" << none << plant << "Network is unreachable" << S::None << none << false
        << "not checked: Network is unreachable";
    QTest::newRow("before the probe")
        << "192.0.2.150" << none << plant << none << S::None << none << false << Pending;
    QTest::newRow("reachable") << "192.0.2.30" << none << plant << none << S::Reachable << HolderMac
                               << false << "in use by " + HolderMac;
    QTest::newRow("stale") << "192.0.2.30" << none << plant << none << S::Stale << HolderMac
                           << false << "in use by " + HolderMac;
    QTest::newRow("delay") << "192.0.2.30" << none << plant << none << S::Delay << HolderMac
                           << false << "in use by " + HolderMac;
    QTest::newRow("permanent") << "192.0.2.30" << none << plant << none << S::Permanent << HolderMac
                               << false << "in use by " + HolderMac;
    QTest::newRow("the device itself answers")
        << "192.0.2.30" << none << plant << none << S::Reachable << DeviceMac.toLower() << false
        << "free";
    QTest::newRow("failed") << "192.0.2.150" << none << plant << none << S::Failed << none << false
                            << "free";
    QTest::newRow("incomplete") << "192.0.2.150" << none << plant << none << S::Incomplete << none
                                << false << Pending;
    QTest::newRow("probe, being asked again")
        << "192.0.2.30" << none << plant << none << S::Probe << HolderMac << false << Pending;
    QTest::newRow("incomplete at the deadline")
        << "192.0.2.150" << none << plant << none << S::Incomplete << none << true
        << "not checked: no answer in time";
    QTest::newRow("no entry at the deadline") << "192.0.2.150" << none << plant << none << S::None
                                              << none << true << "not checked: no answer in time";
    QTest::newRow("answer at the deadline counts")
        << "192.0.2.30" << none << plant << none << S::Reachable << HolderMac << true
        << "in use by " + HolderMac;
    QTest::newRow("no address resolution")
        << "192.0.2.150" << none << plant << none << S::NoArp << none << false
        << "not checked: the adapter resolves no addresses";
}

void TestAddressCheck::decision()
{
    QFETCH(QString, newIp);
    QFETCH(QString, listHolder);
    QFETCH(QString, adapterAddresses);
    QFETCH(QString, systemError);
    QFETCH(NeighbourState, state);
    QFETCH(QString, neighbourMac);
    QFETCH(bool, deadlinePassed);
    QFETCH(QString, expected);

    AddressCheckFacts facts;
    facts.newIp = ipOf(newIp);
    facts.currentIp = ipOf(QStringLiteral("192.0.2.65"));
    facts.deviceMac = macOf(DeviceMac);
    if (!listHolder.isEmpty()) {
        DeviceRecord holder;
        holder.mac = macOf(QStringLiteral("02:4E:58:00:00:66"));
        holder.nameBytes = listHolder.toUtf8();
        facts.listHolder = holder;
    }
    facts.adapterAddresses = addressesFrom(adapterAddresses);
    facts.systemError = systemError;
    facts.neighbour.state = state;
    if (!neighbourMac.isEmpty())
        facts.neighbour.mac = macOf(neighbourMac);
    facts.deadlinePassed = deadlinePassed;

    const std::optional<AddressCheckResult> result = decideAddressCheck(facts);
    QCOMPARE(result ? addressCheckText(*result) : Pending, expected);
    if (result && !listHolder.isEmpty())
        QCOMPARE(result->holderName, listHolder);
}

void TestAddressCheck::listedHolderIsOnTheSameAdapter_data()
{
    QTest::addColumn<int>("interfaceIndex");
    QTest::addColumn<QString>("mac");
    QTest::addColumn<QString>("ip");
    QTest::addColumn<bool>("holds");

    QTest::newRow("same adapter") << 3 << "02:4E:58:00:00:66"
                                  << "192.0.2.70" << true;
    QTest::newRow("other adapter") << 4 << "02:4E:58:00:00:66"
                                   << "192.0.2.70" << false;
    QTest::newRow("another IP") << 3 << "02:4E:58:00:00:66"
                                << "192.0.2.71" << false;
    QTest::newRow("the device itself") << 3 << "02:4e:58:00:00:02"
                                       << "192.0.2.70" << false;
}

void TestAddressCheck::listedHolderIsOnTheSameAdapter()
{
    QFETCH(int, interfaceIndex);
    QFETCH(QString, mac);
    QFETCH(QString, ip);
    QFETCH(bool, holds);

    DeviceRecord device;
    device.mac = macOf(DeviceMac);
    device.ip = ipOf(QStringLiteral("192.0.2.65"));
    device.interfaceIndex = 3;
    DeviceRecord other;
    other.mac = macOf(mac);
    other.ip = ipOf(ip);
    other.interfaceIndex = interfaceIndex;
    const std::optional<DeviceRecord> holder
        = listedHolderOf({ device, other }, device, ipOf(QStringLiteral("192.0.2.70")));
    QCOMPARE(holder.has_value(), holds);
}

QTEST_GUILESS_MAIN(TestAddressCheck)
#include "tst_addresscheck.moc"
