// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef INFO_H
#define INFO_H

#include <QDialog>

// Facts about the host: a name from the environment, and the IPv4 address and
// hardware address of its first adapter that is up and not loopback.
class Info : public QDialog
{
    Q_OBJECT

public:
    explicit Info(QWidget *parent);

private:
    QString readHostName() const;
    QString readHostIpAddress() const;
    QString readHostMacAddress() const;
    void createLayout();
};

#endif // INFO_H
