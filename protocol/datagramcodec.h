// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DATAGRAMCODEC_H
#define DATAGRAMCODEC_H

#include <QByteArray>
#include <QString>
#include <QVector>

#include <optional>

// Every byte the device protocol puts on the wire is defined here, once, for the
// endpoint, the device simulator, the command-line tool, the fuzzer and the tests.
// Nothing in this file touches a socket or a widget.
namespace Datagram {

inline constexpr char Magic[] = "KORVAN";
inline constexpr int MagicSize = 6;
inline constexpr int HeaderSize = 18;
inline constexpr quint16 DevicePort = 102;

// Header bytes 6 and 7 of every request; their meaning is the devices' own.
inline constexpr quint8 RequestByte6 = 0x01;
inline constexpr quint8 RequestDeviceType = 0xF0;
// Header byte 8 is not examined by devices; requests always carry this value.
inline constexpr quint8 ReservedByte = 0x00;

inline constexpr int ScanRequestSize = 46;
inline constexpr int LedsRequestSize = 42;
inline constexpr int ModifyRequestSize = 90;
inline constexpr int MinReplySize = 96;
inline constexpr int ReplyItemCount = 5;
inline constexpr int MacSize = 6;
inline constexpr int NetworkSize = 12;
inline constexpr int MinNameSize = 6;
inline constexpr int NameFieldSize = 16;

enum ItemId : qint32 {
    QueryItem = 0,
    MacItem = 1,
    NameItem = 2,
    VersionItem = 3,
    NetworkItem = 4,
    PointsItem = 5,
    LedControlItem = 6,
    TargetMacItem = 8,
};

enum class LedCommand : qint16 { Stop = 0, Flash = 2 };

// The values of an accepted scan reply, as they came off the wire.
struct ScanReply
{
    quint8 deviceType = 0;
    QByteArray mac;
    QByteArray name;
    QByteArray version;
    QByteArray network;
    QByteArray points;
};

// The byte values of a modify request's four items.
struct ModifyFields
{
    QByteArray targetMac;
    QByteArray mac;
    QByteArray name;
    QByteArray network;
};

// A request as a device receives it.
struct Request
{
    enum Kind { Scan, LedsFlash, LedsStop, Modify };
    Kind kind = Scan;
    quint32 sequenceNo = 0;
    QByteArray targetMac;
    ModifyFields modify;
};

QByteArray scanRequest(quint32 sequenceNo);
QByteArray ledsRequest(quint32 sequenceNo, const QByteArray &targetMac, LedCommand command);
QByteArray modifyRequest(quint32 sequenceNo, const ModifyFields &fields);

// Applies the acceptance rules to a received datagram; anything that fails
// them gives no reply at all.
std::optional<ScanReply> parseScanReply(const QByteArray &datagram);

// "PLC", "HMI", "SERVO", "VFD", or empty for any other code.
QByteArray deviceTypeName(quint8 code);

// Each pair of characters gives one byte (hex digits in either case; any other
// character counts as -1, the sum taken modulo 256).
QByteArray hexStrToBytes(const QString &text);
// Each run of digits ended by "." gives one byte; "a.b.c.d." gives four bytes.
QByteArray ipStrToBytes(const QString &text);
// "00:1A:2B:3C:4D:5E" (either case) to its six bytes.
QByteArray macTextToBytes(const QString &macText);
// The 16 name bytes of a modify request: the name's UTF-8 bytes padded with
// spaces, cut on a character boundary so that no character is split.
QByteArray nameFieldBytes(const QString &name);
// The 16 name bytes of a modify request that keeps the name a device reported:
// its bytes up to the first zero byte, whatever their encoding, cut at 16 and
// padded with spaces.
QByteArray nameFieldFromReported(const QByteArray &reportedName);
// The 12 network bytes for an address, a net mask and a gateway in dotted decimal.
QByteArray networkBytes(const QString &ip, const QString &netMask, const QString &gateWay);

// One item of a datagram: an id and its value, written as a byte array.
struct Item
{
    qint32 id = 0;
    QByteArray value;
};

// A whole datagram: the header with the item count and frame length that the
// items make, then the items in the order given.
QByteArray frame(quint8 deviceType, const QVector<Item> &items, quint32 sequenceNo);

// The device side: what a device sends and how it reads what it receives.
// The reply carries items 1 to 5 in that order, each value exactly as given.
QByteArray scanReplyDatagram(const ScanReply &reply, quint32 sequenceNo = 0);
std::optional<Request> parseRequest(const QByteArray &datagram);

} // namespace Datagram

#endif // DATAGRAMCODEC_H
