// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "datagramcodec.h"
#include "mysocket.h"
#include "testpeer.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

constexpr int LargestDatagram = 65507;

Datagram::ScanReply replyNumbered(int number)
{
    Datagram::ScanReply reply;
    reply.deviceType = 2;
    reply.mac = QByteArray::fromHex("001a2b000000");
    reply.mac[4] = char(number / 256);
    reply.mac[5] = char(number % 256);
    reply.name = QByteArrayLiteral("HMI").leftJustified(16, '\0');
    reply.version = QByteArray::fromHex("01020304");
    reply.network = QByteArray::fromHex("c000024affffff00c00002fe");
    return reply;
}

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(QRandomGenerator::global()->bounded(256));
    return bytes;
}

} // namespace

class TestReceiving : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void largestReplyIsReadWhole();
    void oddDatagramsAreDropped_data();
    void oddDatagramsAreDropped();
    void burstOutlastsBusyWindow();

private:
    MySocket *endpoint = nullptr;
    TestPeer *peer = nullptr;
    QStringList macs;
    DeviceRecord lastDevice;
};

void TestReceiving::init()
{
    peer = new TestPeer(this);
    QString error;
    QVERIFY2(peer->bind(&error), qPrintable(error));
    endpoint = new MySocket;
    endpoint->initUdpSocket();
    QVERIFY2(endpoint->isBound(), qPrintable(endpoint->bindErrorString()));
    macs.clear();
    connect(endpoint, &MySocket::deviceReplied, this, [this](const DeviceRecord &device) {
        macs << device.mac.toString();
        lastDevice = device;
    });
}

void TestReceiving::cleanup()
{
    delete endpoint;
    endpoint = nullptr;
    delete peer;
    peer = nullptr;
}

void TestReceiving::largestReplyIsReadWhole()
{
    Datagram::ScanReply reply = replyNumbered(1);
    const int pointsSize = LargestDatagram - Datagram::scanReplyDatagram(reply).size();
    reply.points = randomBytes(pointsSize);
    const QByteArray datagram = Datagram::scanReplyDatagram(reply);
    QCOMPARE(datagram.size(), LargestDatagram);
    peer->sendToProgram(datagram);
    QTRY_COMPARE(macs.size(), 1);
    QCOMPARE(lastDevice.points, deviceRecordFromReply(reply).points);
}

void TestReceiving::oddDatagramsAreDropped_data()
{
    QTest::addColumn<QByteArray>("datagram");
    const QByteArray valid = Datagram::scanReplyDatagram(replyNumbered(9));
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one byte") << QByteArray("K");
    QTest::newRow("header only") << valid.left(Datagram::HeaderSize);
    QTest::newRow("largest, random") << randomBytes(LargestDatagram);
    QTest::newRow("largest, valid head") << valid + QByteArray(LargestDatagram - valid.size(), 0);
}

void TestReceiving::oddDatagramsAreDropped()
{
    QFETCH(QByteArray, datagram);
    peer->sendToProgram(datagram);
    // The valid reply comes after it over the same path: once it is listed, the
    // odd datagram has been read.
    peer->sendToProgram(Datagram::scanReplyDatagram(replyNumbered(2)));
    QTRY_VERIFY(macs.contains(QStringLiteral("00:1A:2B:00:00:02")));
    QCOMPARE(macs, QStringList { QStringLiteral("00:1A:2B:00:00:02") });
}

void TestReceiving::burstOutlastsBusyWindow()
{
    // Ten times what the system's default buffer holds, sent while nothing reads.
    constexpr int Replies = 2560;
    const int needed = Replies * 1024;
    if (endpoint->receiveBufferBytes() < needed)
        QSKIP(qPrintable(QStringLiteral("the system grants only %1 bytes of receive buffer")
                             .arg(endpoint->receiveBufferBytes())));
    for (int number = 0; number < Replies; ++number)
        peer->sendToProgram(Datagram::scanReplyDatagram(replyNumbered(number)));
    QTRY_COMPARE(macs.size(), Replies);
    QCOMPARE(macs.last(), QStringLiteral("00:1A:2B:00:09:FF"));
}

QTEST_GUILESS_MAIN(TestReceiving)
#include "tst_receiving.moc"
