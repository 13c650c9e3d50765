// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef PROGRAMWINDOW_H
#define PROGRAMWINDOW_H

#include "mainwindow.h"
#include "mysocket.h"

// The window on the program's endpoint, made the way main() makes them: the
// endpoint opened first, the window gone before it.
struct ProgramWindow
{
    MySocket endpoint;
    MainWindow window { opened(&endpoint) };

private:
    static MySocket *opened(MySocket *endpoint)
    {
        endpoint->initUdpSocket();
        return endpoint;
    }
};

#endif // PROGRAMWINDOW_H
