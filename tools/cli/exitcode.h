// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef EXITCODE_H
#define EXITCODE_H

// The exit status of nesdrix-cli, the same for every command; the README lists them.
enum ExitCode {
    ExitSuccess = 0,
    // Unknown option or command, missing or malformed argument, address or MAC
    // failing the device dialog's checks, unreadable plan file, a list that
    // could not be saved.
    ExitUsage = 1,
    // scan: no device answered within the listening window.
    ExitNoDevices = 2,
    // flash, set: the MAC did not answer the scan, or answered more than once.
    ExitDeviceNotFound = 3,
    // UDP port 102 could not be bound (no privilege, or held by another program).
    ExitPortUnavailable = 4,
    // set: the new IP is held by another device; apply: the plan failed its checks.
    // Nothing was written.
    ExitRefused = 5,
    // apply --verify-after-ms: a device did not answer with its new settings.
    ExitNotVerified = 6,
    // The audit log could not be opened (a symbolic link, a file that is not a log) or written.
    ExitAuditFailed = 7,
    // A request could not be sent: no network adapter is up to scan on, or the
    // system refused a scan, flash, stop or write (the audit log says `send failed`).
    ExitSendFailed = 8,
    // diff, scan --compare: the lists differ. No error ends with it, so that a
    // script can tell "something changed" from "could not compare".
    ExitDifferencesFound = 9,
    // Ctrl-C or SIGTERM ended the scan or the batch before its end.
    ExitInterrupted = 130,
};

#endif // EXITCODE_H
