// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef PKTINFOMESSAGE_H
#define PKTINFOMESSAGE_H

#include <netinet/in.h>
#include <sys/socket.h>

#include <cstring>

// A Linux socket message over one buffer, with room for one IP_PKTINFO item:
// the address a datagram is sent from, or the interface it was heard on.
struct PacketInfoMessage
{
    PacketInfoMessage(void *address, socklen_t addressSize, void *bytes, size_t size)
        : data { bytes, size }
    {
        header.msg_name = address;
        header.msg_namelen = addressSize;
        header.msg_iov = &data;
        header.msg_iovlen = 1;
        header.msg_control = control;
        header.msg_controllen = sizeof control;
    }
    // The header points into the object itself.
    PacketInfoMessage(const PacketInfoMessage &) = delete;
    PacketInfoMessage &operator=(const PacketInfoMessage &) = delete;

    // The source address of a datagram to send (Linux reads ipi_spec_dst).
    void setSource(in_addr source)
    {
        cmsghdr *item = CMSG_FIRSTHDR(&header);
        item->cmsg_level = IPPROTO_IP;
        item->cmsg_type = IP_PKTINFO;
        item->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
        in_pktinfo info {};
        info.ipi_spec_dst = source;
        std::memcpy(CMSG_DATA(item), &info, sizeof info);
    }

    // The interface a received datagram arrived on; 0 when the system did not say.
    int interfaceIndex()
    {
        for (cmsghdr *item = CMSG_FIRSTHDR(&header); item; item = CMSG_NXTHDR(&header, item)) {
            if (item->cmsg_level == IPPROTO_IP && item->cmsg_type == IP_PKTINFO) {
                in_pktinfo info;
                std::memcpy(&info, CMSG_DATA(item), sizeof info);
                return info.ipi_ifindex;
            }
        }
        return 0;
    }

    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] {};
    iovec data;
    msghdr header {};
};

#endif // PKTINFOMESSAGE_H
