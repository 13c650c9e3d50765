// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

// Writes the fuzzer's seed corpus: valid replies and one datagram for each way a
// reply is dropped, all built with the codec.

#include "datagramcodec.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <cstdio>

namespace {

using Datagram::Item;

Datagram::ScanReply validReply()
{
    Datagram::ScanReply reply;
    reply.deviceType = 1;
    reply.mac = QByteArray::fromHex("001a2b3c4d5e");
    reply.name = QByteArrayLiteral("PLC1").leftJustified(16, '\0');
    reply.version = QByteArray::fromHex("0102000a");
    reply.network = QByteArray::fromHex("c0a8010affffff00c0a80101");
    reply.points = QByteArray::fromHex("0100");
    return reply;
}

QByteArray withFrameLength(QByteArray datagram, quint32 length)
{
    qToBigEndian(length, datagram.data() + 10);
    return datagram;
}

QByteArray withByte(QByteArray datagram, int offset, char value)
{
    datagram[offset] = value;
    return datagram;
}

QVector<Item> items(const Datagram::ScanReply &reply)
{
    return { { Datagram::MacItem, reply.mac }, { Datagram::NameItem, reply.name },
        { Datagram::VersionItem, reply.version }, { Datagram::NetworkItem, reply.network },
        { Datagram::PointsItem, reply.points } };
}

QByteArray replyWith(void (*change)(Datagram::ScanReply &))
{
    Datagram::ScanReply reply = validReply();
    change(reply);
    return Datagram::scanReplyDatagram(reply);
}

QList<QPair<const char *, QByteArray>> seeds()
{
    const QByteArray valid = Datagram::scanReplyDatagram(validReply());
    Datagram::ScanReply shortest = validReply();
    shortest.name = QByteArrayLiteral("ABCDEF");
    shortest.version = QByteArray::fromHex("01020304");
    shortest.points.clear();
    QVector<Item> fourItems = items(validReply());
    fourItems.removeLast();
    QVector<Item> sixItems = items(validReply());
    sixItems.append(Item { Datagram::QueryItem, {} });
    QVector<Item> reordered = items(validReply());
    reordered[2] = { Datagram::QueryItem, {} };
    std::swap(reordered[2], reordered[4]);
    QVector<Item> stopped = items(validReply());
    stopped.remove(2);
    stopped.insert(3, { 9, QByteArray("ignored") });
    QVector<Item> negative = items(validReply());
    negative[4].id = -1;
    QByteArray lyingLength = valid;
    qToBigEndian<quint32>(0x7fffffff, lyingLength.data() + Datagram::HeaderSize + 4);
    QByteArray nullArray = valid;
    qToBigEndian<quint32>(0xffffffff, nullArray.data() + Datagram::HeaderSize + 4);

    return {
        { "valid", valid },
        { "valid-96-bytes", Datagram::scanReplyDatagram(shortest) },
        { "valid-type-0", replyWith([](Datagram::ScanReply &r) { r.deviceType = 0; }) },
        { "valid-type-5", replyWith([](Datagram::ScanReply &r) { r.deviceType = 5; }) },
        { "valid-ids-1-2-4-5-0", Datagram::frame(3, reordered, 0) },
        { "valid-id-9-stops", Datagram::frame(4, stopped, 0) },
        { "valid-negative-id", Datagram::frame(2, negative, 0) },
        { "valid-130-bytes",
            replyWith([](Datagram::ScanReply &r) { r.points = QByteArray(38, '\x01'); }) },
        { "drop-empty", QByteArray() },
        { "drop-10-bytes", valid.left(10) },
        { "drop-header-only", withFrameLength(valid.left(18), 18) },
        { "drop-magic", withByte(valid, 0, 'k') },
        { "drop-length-plus-one", withFrameLength(valid, quint32(valid.size() + 1)) },
        { "drop-length-minus-one", withFrameLength(valid, quint32(valid.size() - 1)) },
        { "drop-95-bytes", withFrameLength(Datagram::scanReplyDatagram(shortest).left(95), 95) },
        { "drop-count-0", withByte(valid, 9, 0) },
        { "drop-count-7", withByte(valid, 9, 7) },
        { "drop-count-negative", withByte(valid, 9, char(0xff)) },
        { "drop-4-items", Datagram::frame(1, fourItems, 0) },
        { "drop-6-items", Datagram::frame(1, sixItems, 0) },
        { "drop-name-5", replyWith([](Datagram::ScanReply &r) { r.name = "ABCDE"; }) },
        { "drop-name-17", replyWith([](Datagram::ScanReply &r) { r.name.append('X'); }) },
        { "drop-mac-7", replyWith([](Datagram::ScanReply &r) { r.mac.append('\0'); }) },
        { "drop-network-11", replyWith([](Datagram::ScanReply &r) { r.network.chop(1); }) },
        { "drop-lying-length", lyingLength },
        { "drop-null-array", nullArray },
        { "drop-truncated",
            withFrameLength(valid.left(valid.size() - 7), quint32(valid.size() - 7)) },
    };
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds DIRECTORY\n");
        return 2;
    }
    const QDir directory(QString::fromLocal8Bit(argv[1]));
    if (!directory.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "fuzz_seeds: cannot create %s\n", argv[1]);
        return 1;
    }
    for (const auto &seed : seeds()) {
        QFile file(directory.filePath(QString::fromLatin1(seed.first)));
        if (!file.open(QIODevice::WriteOnly) || file.write(seed.second) != seed.second.size()) {
            std::fprintf(stderr, "fuzz_seeds: cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
