// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef DATAGRAMCODEC_H
#define DATAGRAMCODEC_H

#include "ipv4address.h"
#include "macaddress.h"

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

// What a modify request writes: the device it is for, the MAC and 16 name
// bytes it is to keep or take, and its new network settings.
struct ModifyFields
{
    MacAddress targetMac;
    MacAddress mac;
    QByteArray name;
    DeviceSettings settings;
};

// A request as a device receives it.
struct Request
{
    enum Kind { Scan, LedsFlash, LedsStop, Modify };
    Kind kind = Scan;
    quint32 sequenceNo = 0;
    MacAddress targetMac;
    ModifyFields modify;
};

QByteArray scanRequest(quint32 sequenceNo);
QByteArray ledsRequest(quint32 sequenceNo, MacAddress targetMac, LedCommand command);
QByteArray modifyRequest(quint32 sequenceNo, const ModifyFields &fields);

// Applies the acceptance rules to a received datagram; anything that fails
// them gives no reply at all.
std::optional<ScanReply> parseScanReply(const QByteArray &datagram);

// "PLC", "HMI", "SERVO", "VFD", or empty for any other code.
QString deviceTypeName(quint8 code);

// The 16 name bytes of a modify request: the name's UTF-8 bytes padded with
// spaces, cut on a character boundary so that no character is split.
QByteArray nameFieldBytes(const QString &name);
// The 16 name bytes of a modify request that keeps the name a device reported:
// its bytes up to the first zero byte, whatever their encoding, cut at 16 and
// padded with spaces.
QByteArray nameFieldFromReported(const QByteArray &reportedName);

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
