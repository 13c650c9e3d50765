// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "malformedreplies.h"

#include "datagramcodec.h"

#include <QtEndian>

namespace {

constexpr int ItemCountOffset = 9;
constexpr int FrameLengthOffset = 10;

Datagram::ScanReply soundReply()
{
    Datagram::ScanReply reply;
    reply.deviceType = 1;
    reply.mac = QByteArray::fromHex("02bad0000000");
    reply.name = QByteArrayLiteral("MALFORMED").leftJustified(Datagram::NameFieldSize, '\0');
    reply.version = QByteArray::fromHex("01000000");
    reply.network = QByteArray::fromHex("c000027effffff00c0000201");
    // Long enough that a short name or MAC alone never takes the reply below 96 bytes.
    reply.points = QByteArray(16, '\0');
    return reply;
}

QByteArray replyWith(void (*change)(Datagram::ScanReply &))
{
    Datagram::ScanReply reply = soundReply();
    change(reply);
    return Datagram::scanReplyDatagram(reply);
}

QByteArray withItemCount(char count)
{
    QByteArray datagram = Datagram::scanReplyDatagram(soundReply());
    datagram[ItemCountOffset] = count;
    return datagram;
}

} // namespace

QVector<MalformedReply> malformedReplies()
{
    const QByteArray sound = Datagram::scanReplyDatagram(soundReply());

    QByteArray wrongMagic = sound;
    wrongMagic[5] = 'X';
    QByteArray lengthOneMore = sound;
    qToBigEndian<quint32>(quint32(sound.size() + 1), lengthOneMore.data() + FrameLengthOffset);

    return {
        { QStringLiteral("10 bytes"), sound.left(10) },
        { QStringLiteral("wrong magic"), wrongMagic },
        { QStringLiteral("frame length one more than the size"), lengthOneMore },
        { QStringLiteral("95 bytes"), replyWith([](Datagram::ScanReply &r) {
             r.version = QByteArray(3, '\1');
             r.points.clear();
         }) },
        { QStringLiteral("item count 4"), withItemCount(4) },
        { QStringLiteral("item count 6"), withItemCount(6) },
        { QStringLiteral("name of 5 bytes"),
            replyWith([](Datagram::ScanReply &r) { r.name = QByteArrayLiteral("MALFO"); }) },
        { QStringLiteral("name of 17 bytes"),
            replyWith([](Datagram::ScanReply &r) { r.name = QByteArray(17, 'M'); }) },
        { QStringLiteral("MAC of 7 bytes"),
            replyWith([](Datagram::ScanReply &r) { r.mac.append('\0'); }) },
        { QStringLiteral("network of 11 bytes"),
            replyWith([](Datagram::ScanReply &r) { r.network.chop(1); }) },
    };
}
