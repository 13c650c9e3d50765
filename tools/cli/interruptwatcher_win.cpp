// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "interruptwatcher.h"

#include <QMetaObject>
#include <QMutex>
#include <QMutexLocker>

#include <windows.h>

namespace {

// The console's handler runs on a thread that Windows starts for it; the
// watcher may be going away on the main thread meanwhile.
QMutex watcherMutex;
InterruptWatcher *watcher = nullptr;

BOOL WINAPI onConsoleControl(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    QMutexLocker lock(&watcherMutex);
    if (!watcher)
        return FALSE;
    QMetaObject::invokeMethod(watcher, "interruptArrived", Qt::QueuedConnection);
    return TRUE;
}

} // namespace

InterruptWatcher::InterruptWatcher(QObject *parent)
    : QObject(parent)
{
    QMutexLocker lock(&watcherMutex);
    watcher = this;
    ::SetConsoleCtrlHandler(onConsoleControl, TRUE);
}

InterruptWatcher::~InterruptWatcher()
{
    QMutexLocker lock(&watcherMutex);
    ::SetConsoleCtrlHandler(onConsoleControl, FALSE);
    if (watcher == this)
        watcher = nullptr;
}

void InterruptWatcher::interruptArrived()
{
    interruptedFlag = true;
    emit interrupted();
}
