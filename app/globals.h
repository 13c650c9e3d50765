// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef GLOBALS_H
#define GLOBALS_H

class MySocket;

// The one UDP endpoint, created by the main window.
extern MySocket *g_mySocket;

#endif // GLOBALS_H
