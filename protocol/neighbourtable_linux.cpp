// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "neighbourtable.h"

#include <QHostAddress>

#include <cerrno>
#include <cstring>

#include <arpa/inet.h>
#include <linux/neighbour.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace {

constexpr int ReplyBufferSize = 32 * 1024;
// A dump of a plant's table is read whole; beyond this many bytes it is cut
// off rather than read without end.
constexpr int MaxDumpBytes = 8 * 1024 * 1024;

class NetlinkSocket
{
public:
    NetlinkSocket()
        : fd(::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE))
    {
        // The kernel answers at once; the bound only guards against a hang.
        const timeval timeout { 1, 0 };
        if (fd >= 0)
            ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    }
    ~NetlinkSocket()
    {
        if (fd >= 0)
            ::close(fd);
    }
    NetlinkSocket(const NetlinkSocket &) = delete;
    NetlinkSocket &operator=(const NetlinkSocket &) = delete;

    int fd;
};

struct NeighbourRequest
{
    nlmsghdr header;
    ndmsg neighbour;
    rtattr destinationItem;
    in_addr destination;
};

NeighbourState stateFromBits(quint16 bits)
{
    // The kernel sets exactly one of them.
    if (bits & NUD_PERMANENT)
        return NeighbourState::Permanent;
    if (bits & NUD_NOARP)
        return NeighbourState::NoArp;
    if (bits & NUD_REACHABLE)
        return NeighbourState::Reachable;
    if (bits & NUD_STALE)
        return NeighbourState::Stale;
    if (bits & NUD_DELAY)
        return NeighbourState::Delay;
    if (bits & NUD_PROBE)
        return NeighbourState::Probe;
    if (bits & NUD_FAILED)
        return NeighbourState::Failed;
    if (bits & NUD_INCOMPLETE)
        return NeighbourState::Incomplete;
    return NeighbourState::None;
}

// Takes the entry when the message is the one for the address on the adapter.
bool takeEntry(const nlmsghdr *message, int interfaceIndex, quint32 ip, NeighbourEntry *entry)
{
    if (message->nlmsg_type != RTM_NEWNEIGH || message->nlmsg_len < NLMSG_LENGTH(sizeof(ndmsg)))
        return false;
    const auto *neighbour = static_cast<const ndmsg *>(NLMSG_DATA(message));
    if (neighbour->ndm_family != AF_INET || neighbour->ndm_ifindex != interfaceIndex)
        return false;
    bool matches = false;
    std::optional<MacAddress> mac;
    int left = int(message->nlmsg_len - NLMSG_LENGTH(sizeof(ndmsg)));
    for (const rtattr *item = reinterpret_cast<const rtattr *>(
             reinterpret_cast<const char *>(neighbour) + NLMSG_ALIGN(sizeof(ndmsg)));
         RTA_OK(item, left); item = RTA_NEXT(item, left)) {
        const auto *data = static_cast<const unsigned char *>(RTA_DATA(item));
        if (item->rta_type == NDA_DST && RTA_PAYLOAD(item) == sizeof(in_addr)) {
            in_addr destination;
            std::memcpy(&destination, data, sizeof destination);
            matches = ntohl(destination.s_addr) == ip;
        } else if (item->rta_type == NDA_LLADDR) {
            mac = MacAddress::fromBytes(
                QByteArray(reinterpret_cast<const char *>(data), int(RTA_PAYLOAD(item))));
        }
    }
    if (!matches)
        return false;
    entry->state = stateFromBits(neighbour->ndm_state);
    entry->mac = mac;
    return true;
}

enum class ReadResult { Found, Absent, Unsupported, Failed };

// Reads the replies to one request until its end; a dump ends with NLMSG_DONE,
// a lookup after its one answer.
ReadResult readReplies(
    int fd, bool dump, int interfaceIndex, quint32 ip, NeighbourEntry *entry, int *error)
{
    alignas(nlmsghdr) char buffer[ReplyBufferSize];
    bool found = false;
    for (int total = 0; total < MaxDumpBytes;) {
        const ssize_t size = ::recv(fd, buffer, sizeof buffer, 0);
        if (size < 0) {
            *error = errno;
            return ReadResult::Failed;
        }
        total += int(size);
        int left = int(size);
        for (auto *message = reinterpret_cast<const nlmsghdr *>(buffer); NLMSG_OK(message, left);
             message = NLMSG_NEXT(message, left)) {
            if (message->nlmsg_type == NLMSG_DONE)
                return found ? ReadResult::Found : ReadResult::Absent;
            if (message->nlmsg_type == NLMSG_ERROR) {
                const auto *failure = static_cast<const nlmsgerr *>(NLMSG_DATA(message));
                *error = -failure->error;
                if (*error == 0 || *error == ENOENT)
                    return ReadResult::Absent;
                return *error == EINVAL || *error == EOPNOTSUPP ? ReadResult::Unsupported
                                                                : ReadResult::Failed;
            }
            found = takeEntry(message, interfaceIndex, ip, entry) || found;
            if (found && !dump)
                return ReadResult::Found;
        }
    }
    return found ? ReadResult::Found : ReadResult::Absent;
}

} // namespace

bool readNeighbourEntry(
    int interfaceIndex, const QHostAddress &ip, NeighbourEntry *entry, QString *error)
{
    *entry = NeighbourEntry();
    NetlinkSocket netlink;
    int failure = 0;
    if (netlink.fd < 0) {
        failure = errno;
    } else {
        // Asking for the one entry spares reading a whole plant's table; kernels
        // before 5.0 only dump, and the dump is filtered here.
        for (const bool dump : { false, true }) {
            NeighbourRequest request {};
            request.header.nlmsg_len = sizeof request;
            request.header.nlmsg_type = RTM_GETNEIGH;
            request.header.nlmsg_flags = NLM_F_REQUEST | (dump ? NLM_F_DUMP : 0);
            request.neighbour.ndm_family = AF_INET;
            request.neighbour.ndm_ifindex = interfaceIndex;
            request.destinationItem.rta_type = NDA_DST;
            request.destinationItem.rta_len = RTA_LENGTH(sizeof(in_addr));
            request.destination.s_addr = htonl(ip.toIPv4Address());
            if (::send(netlink.fd, &request, sizeof request, 0) < 0) {
                failure = errno;
                break;
            }
            const ReadResult result = readReplies(
                netlink.fd, dump, interfaceIndex, ip.toIPv4Address(), entry, &failure);
            if (result == ReadResult::Found || result == ReadResult::Absent)
                return true;
            if (result == ReadResult::Failed)
                break;
        }
    }
    *error = QString::fromLocal8Bit(std::strerror(failure));
    return false;
}
