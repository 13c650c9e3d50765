// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "addresschecktext.h"

#include "safetext.h"

QString AddressCheckText::holder(const AddressCheckResult &result)
{
    if (result.heldByThisComputer)
        return tr("this computer");
    if (result.holderName.isEmpty())
        return result.holderMac.toString();
    return tr("%1 (%2)").arg(result.holderMac.toString(), boundedText(result.holderName));
}

QString AddressCheckText::notCheckedReason(const AddressCheckResult &result)
{
    using Reason = AddressCheckResult::Reason;
    switch (result.reason) {
    case Reason::OtherSubnet:
        return tr("it lies on no subnet of the network adapter that heard the device");
    case Reason::UnknownAdapter:
        return tr("the network adapter that heard the device is gone");
    case Reason::SystemError:
        return result.detail;
    case Reason::NoAnswer:
        return tr("the system had no answer in time");
    case Reason::NoResolution:
        return tr("the network adapter does not resolve addresses");
    case Reason::None:
        break;
    }
    return QString();
}

QString AddressCheckText::afterWrite(const QString &ip, const AddressCheckResult &result)
{
    switch (result.outcome) {
    case AddressCheckResult::Outcome::InUse:
        return tr("%1 was written although %2 holds it.").arg(ip, holder(result));
    case AddressCheckResult::Outcome::NotChecked:
        return tr("%1 could not be checked before writing: %2.").arg(ip, notCheckedReason(result));
    case AddressCheckResult::Outcome::Free:
    case AddressCheckResult::Outcome::Unchanged:
        break;
    }
    return QString();
}
