// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef PASSEDSOCKET_H
#define PASSEDSOCKET_H

#include <QString>

// A socket handed over by nesdrix-launcher or systemd-socket-activate, by the
// socket-activation convention: descriptor 3, LISTEN_FDS=1, LISTEN_PID naming
// this process.
struct PassedSocket
{
    int descriptor = -1;
    // Set by nesdrix-launcher when it could not bind: its reason is the one to
    // tell, since it held the privilege that this process lacks.
    int launcherBindErrno = 0;
};

// Reads the handover from the environment and removes its variables, so that
// nothing this process starts inherits them.
PassedSocket takePassedSocket();

// Why the descriptor cannot serve as the device port (not a UDP IPv4 socket
// bound to port 102), or an empty text when it can.
QString passedSocketProblem(int descriptor);

#endif // PASSEDSOCKET_H
