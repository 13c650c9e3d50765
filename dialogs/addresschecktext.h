// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef ADDRESSCHECKTEXT_H
#define ADDRESSCHECKTEXT_H

#include "addresscheck.h"

#include <QCoreApplication>

// The window's words for an address check, in the user's language.
class AddressCheckText
{
    Q_DECLARE_TR_FUNCTIONS(AddressCheckText)

public:
    // "02:4E:58:00:00:30 (Press PLC)", "02:4E:58:00:00:30" or "this computer".
    static QString holder(const AddressCheckResult &result);
    // Why the address could not be checked, as the end of a sentence.
    static QString notCheckedReason(const AddressCheckResult &result);
    // What the status bar says of the check after a write; empty when the
    // address was free or kept.
    static QString afterWrite(const QString &ip, const AddressCheckResult &result);
};

#endif // ADDRESSCHECKTEXT_H
