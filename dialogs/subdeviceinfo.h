// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef SUBDEVICEINFO_H
#define SUBDEVICEINFO_H

#include "devicerecord.h"
#include "devicesettingssource.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Shows a listed device and writes new network settings to it.
class SubDeviceInfo : public QDialog, public DeviceSettingsSource
{
    Q_OBJECT

public:
    SubDeviceInfo(const DeviceRecord &device, QWidget *parent);

    // The MAC the device was listed with when the dialog opened; rows that
    // arrive while it is open do not change it.
    QString tableMacText() const override;
    QString macText() const override;
    QString deviceNameText() const override;
    // The name bytes the device reported, so that a name in any encoding is
    // written back unchanged.
    QByteArray nameField() const override;
    QString ipText() const override;
    QString netMaskText() const override;
    QString gateWayText() const override;

    // Escape ends the dialog the way every other close does.
    void reject() override;

signals:
    void subPlcWindowClosed();

private slots:
    void modifyConfirmActionSlot();
    void showFlashFailure(const QString &reason);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createLayout();
    void createConnections();
    void loadDeviceInfo(const DeviceRecord &device);
    void showInputError(const QString &message);
    void showModifyFailure(const QString &reason);

    QLineEdit *deviceNameEdit = nullptr;
    QLineEdit *ipEdit = nullptr;
    QLineEdit *netMaskEdit = nullptr;
    QLineEdit *gateWayEdit = nullptr;
    QLineEdit *plcVersionEdit = nullptr;
    QLineEdit *macEdit = nullptr;
    QPushButton *modifyButton = nullptr;
    QPushButton *closeButton = nullptr;
    QLabel *flashFailedLabel = nullptr;
    QString discoveredMac;
    QByteArray reportedName;
};

#endif // SUBDEVICEINFO_H
