// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef AUDITFILE_H
#define AUDITFILE_H

#include <QString>

class QFile;

// The audit log's file as each system keeps it (auditfile_unix.cpp,
// auditfile_win.cpp); the log itself is the same everywhere.

// Opens the file for appending only and never through a symbolic link
// (another user could point one at a file of yours); a missing file and folder
// are made readable by the user alone. False with the reason in error.
bool openAuditFile(const QString &path, QFile &file, QString *error);

// Puts what was written, also what Qt still buffers, on the disk itself
// before the call returns.
bool syncAuditFile(QFile &file, QString *error);

// The words for a link that is not followed, the same on every system.
QString auditLinkRefusedText();

#endif // AUDITFILE_H
