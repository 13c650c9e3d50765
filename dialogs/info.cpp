// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "info.h"

#include <QAbstractSocket>
#include <QHostAddress>
#include <QLabel>
#include <QNetworkInterface>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringList>
#include <QVBoxLayout>

namespace {

constexpr int OkButtonMaximumWidth = 80;

// Each text passes through untouched: an environment value such as <b>x</b>
// must read as typed, never as markup.
QLabel *createPlainLabel(const QString &text, const QString &objectName)
{
    auto *label = new QLabel(text);
    label->setTextFormat(Qt::PlainText);
    label->setObjectName(objectName);
    return label;
}

// The first adapter that is up, not loopback and has an IPv4 address: the
// computer as the devices' network sees it. Loopback, listed first on Linux,
// would show 127.0.0.1 and a MAC of zeros.
QNetworkInterface hostAdapter()
{
    const QList<QNetworkInterface> adapters = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &adapter : adapters) {
        if (!adapter.flags().testFlag(QNetworkInterface::IsUp)
            || adapter.flags().testFlag(QNetworkInterface::IsLoopBack))
            continue;
        const QList<QNetworkAddressEntry> entries = adapter.addressEntries();
        for (const QNetworkAddressEntry &entry : entries) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                return adapter;
        }
    }
    return {};
}

} // namespace

Info::Info(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QObject::tr("Host Info"));
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    createLayout();
}

QString Info::readHostName() const
{
    const QStringList patterns
        = { QStringLiteral("USERNAME.*"), QStringLiteral("USER.*"), QStringLiteral("USERDOMAIN.*"),
              QStringLiteral("HOSTNAME.*"), QStringLiteral("DOMAINNAME.*") };
    const QStringList environment = QProcess::systemEnvironment();
    for (const QString &pattern : patterns) {
        // The whole entry must match, so "USER.*" also takes USERPROFILE=...
        const QRegularExpression wholeEntry(QRegularExpression::anchoredPattern(pattern));
        const auto index = environment.indexOf(wholeEntry);
        if (index < 0)
            continue;
        // A value that itself holds '=' splits into more parts and is passed over.
        const QStringList parts = environment.at(index).split(QLatin1Char('='), Qt::KeepEmptyParts);
        if (parts.size() == 2)
            return parts.at(1);
    }
    return tr("unknown");
}

QString Info::readHostIpAddress() const
{
    for (const QNetworkAddressEntry &entry : hostAdapter().addressEntries()) {
        if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
            return entry.ip().toString();
    }
    return {};
}

QString Info::readHostMacAddress() const
{
    return hostAdapter().hardwareAddress();
}

void Info::createLayout()
{
    const QString hostName = readHostName();
    const QString ipAddress = readHostIpAddress();
    const QString macAddress = readHostMacAddress();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(createPlainLabel(
        tr("Host Name:") + tr("%1").arg(hostName), QStringLiteral("hostNameLabel")));
    layout->addWidget(createPlainLabel(
        tr("IP Address:") + tr("%1").arg(ipAddress), QStringLiteral("ipAddressLabel")));
    layout->addWidget(createPlainLabel(
        tr("MAC Address:") + tr("%1").arg(macAddress), QStringLiteral("macAddressLabel")));

    auto *okButton = new QPushButton(tr("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setMaximumWidth(OkButtonMaximumWidth);
    connect(okButton, &QPushButton::clicked, this, &Info::close);
    layout->addWidget(okButton, 0, Qt::AlignCenter);
}
