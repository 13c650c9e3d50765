// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef SUBDEVICEINFO_H
#define SUBDEVICEINFO_H

#include "addresschecker.h"
#include "devicerecord.h"
#include "devicesettingssource.h"

#include <QDialog>

#include <functional>

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

    // The devices listed when Modify is pressed: one that holds the new IP on
    // the same adapter makes it taken without asking the network.
    void setListedDevices(std::function<QVector<DeviceRecord>()> listed);

signals:
    void subPlcWindowClosed();
    // The new settings were sent: the device as it should answer now, and what
    // the check of its new IP found.
    void settingsWritten(const DeviceRecord &written, const AddressCheckResult &check);

private slots:
    void modifyConfirmActionSlot();
    void showFlashFailure(const QString &reason);
    void addressCheckFinished(const AddressCheckResult &result);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createLayout();
    void createConnections();
    void loadDeviceInfo(const DeviceRecord &device);
    void showInputError(const QString &message);
    void showModifyFailure(const QString &reason);
    void setChecking(bool checking, const QString &ip = QString());
    void writeCheckedSettings(const AddressCheckResult &check);
    bool confirmWriteAnyway(const AddressCheckResult &check);
    DeviceRecord writtenDevice() const;

    QLineEdit *deviceNameEdit = nullptr;
    QLineEdit *ipEdit = nullptr;
    QLineEdit *netMaskEdit = nullptr;
    QLineEdit *gateWayEdit = nullptr;
    QLineEdit *plcVersionEdit = nullptr;
    QLineEdit *macEdit = nullptr;
    QPushButton *modifyButton = nullptr;
    QPushButton *closeButton = nullptr;
    QLabel *flashFailedLabel = nullptr;
    QLabel *addressCheckLabel = nullptr;
    AddressChecker *addressChecker = nullptr;
    std::function<QVector<DeviceRecord>()> listedDevices;
    DeviceRecord shownDevice;
    QString discoveredMac;
    QByteArray reportedName;
};

#endif // SUBDEVICEINFO_H
