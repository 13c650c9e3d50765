// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "sendpath.h"

#include <QtTest>

Q_DECLARE_METATYPE(SendPath)

class TestSendPath : public QObject
{
    Q_OBJECT

private slots:
    void destination_data();
    void destination();
};

void TestSendPath::destination_data()
{
    QTest::addColumn<int>("interfaceIndex");
    // "address/prefix" entries of the interface, separated by spaces.
    QTest::addColumn<QString>("addresses");
    QTest::addColumn<QString>("deviceIp");
    QTest::addColumn<SendPath>("expected");

    QTest::addColumn<bool>("ipShared");
    const auto unicast = SendPath::Unicast;
    const auto broadcast = SendPath::Broadcast;
    QTest::newRow("inside the subnet") << 3 << "192.0.2.1/24"
                                       << "192.0.2.65" << unicast << false;
    QTest::newRow("outside the subnet") << 3 << "192.0.2.1/24"
                                        << "203.0.113.10" << broadcast << false;
    QTest::newRow("/32 holds only itself") << 3 << "192.0.2.1/32"
                                           << "192.0.2.2" << broadcast << false;
    QTest::newRow("/31 holds its pair") << 3 << "192.0.2.0/31"
                                        << "192.0.2.1" << unicast << false;
    QTest::newRow("/31 ends there") << 3 << "192.0.2.0/31"
                                    << "192.0.2.2" << broadcast << false;
    QTest::newRow("/0 holds everything") << 3 << "192.0.2.1/0"
                                         << "203.0.113.10" << unicast << false;
    QTest::newRow("second address of the interface") << 3 << "198.51.100.2/24 203.0.113.1/24"
                                                     << "203.0.113.10" << unicast << false;
    QTest::newRow("none of several addresses") << 3 << "198.51.100.2/24 192.0.2.1/26"
                                               << "192.0.2.65" << broadcast << false;
    QTest::newRow("interface without IPv4") << 3 << "2001:db8::1/64"
                                            << "192.0.2.65" << broadcast << false;
    QTest::newRow("unknown interface") << 0 << ""
                                       << "203.0.113.10" << unicast << false;
    // The address resolves to one of the devices only: every request is a broadcast.
    QTest::newRow("shared IP inside the subnet") << 3 << "192.0.2.1/24"
                                                 << "192.0.2.65" << broadcast << true;
    QTest::newRow("shared IP, unknown interface") << 0 << ""
                                                  << "192.0.2.65" << broadcast << true;
}

void TestSendPath::destination()
{
    QFETCH(int, interfaceIndex);
    QFETCH(QString, addresses);
    QFETCH(QString, deviceIp);
    QFETCH(SendPath, expected);
    QFETCH(bool, ipShared);

    QVector<InterfaceAddress> entries;
    const QStringList texts = addresses.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &text : texts) {
        const QPair<QHostAddress, int> subnet = QHostAddress::parseSubnet(text);
        entries.append({ QHostAddress(text.section(QLatin1Char('/'), 0, 0)), subnet.second });
    }
    const DeviceTarget target { MacAddress(), *Ipv4Address::fromText(deviceIp), interfaceIndex,
        ipShared };
    QCOMPARE(sendPathFor(target, entries), expected);
}

QTEST_GUILESS_MAIN(TestSendPath)
#include "tst_sendpath.moc"
