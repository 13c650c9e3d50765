// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef SUBDEVICEINFO_H
#define SUBDEVICEINFO_H

#include "addresschecker.h"
#include "devicerecord.h"
#include "devicetext.h"
#include "sendpath.h"

#include <QDialog>
#include <QPointer>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class MySocket;
class QPushButton;

// Shows a listed device and writes new network settings to it.
class SubDeviceInfo : public QDialog
{
    Q_OBJECT

public:
    // Modify writes through the endpoint; without one it tells that nothing
    // could be sent. ipShared: another listed device answers with its IP.
    SubDeviceInfo(const DeviceRecord &device, QWidget *parent, MySocket *endpoint = nullptr,
        bool ipShared = false);

    // The MAC the device was listed with when the dialog opened; rows that
    // arrive while it is open do not change it.
    MacAddress tableMac() const { return device.mac; }

    // Says under the fields which other devices share the device's IP or MAC
    // address on its network; an empty text says nothing.
    void setConflictNote(const QString &text);

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

public slots:
    // Says in the dialog that the device's LEDs cannot be flashed, and why.
    void showFlashFailure(const QString &reason);
    // Takes that back once a flash request could be sent again.
    void clearFlashFailure();

private slots:
    void modifyConfirmActionSlot();
    void addressCheckFinished(const AddressCheckResult &result);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createLayout();
    void createConnections();
    void loadDeviceInfo();
    // Modify only once IP, mask or gateway differ from what the device
    // reported: Enter in a dialog just opened must not restart the device.
    void updateModifyButton();
    // The settings typed, or nothing after telling the first one that is wrong.
    std::optional<DeviceSettings> typedSettings();
    void showInputError(SettingsFault::Field field);
    void showModifyFailure(const QString &reason);
    void setChecking(bool checking);
    void writeCheckedSettings(const AddressCheckResult &check);
    bool confirmWriteAnyway(const AddressCheckResult &check);

    QLineEdit *deviceNameEdit = nullptr;
    QLineEdit *ipEdit = nullptr;
    QLineEdit *netMaskEdit = nullptr;
    QLineEdit *gateWayEdit = nullptr;
    QLineEdit *plcVersionEdit = nullptr;
    QLineEdit *macEdit = nullptr;
    QPushButton *modifyButton = nullptr;
    QPushButton *closeButton = nullptr;
    QLabel *flashFailedLabel = nullptr;
    QLabel *conflictLabel = nullptr;
    QLabel *addressCheckLabel = nullptr;
    AddressChecker *addressChecker = nullptr;
    std::function<QVector<DeviceRecord>()> listedDevices;
    // What Modify was pressed with, written once the address check allows it.
    DeviceSettings typedSettingsToWrite;
    MacAddress typedMac;
    // The device as listed when the dialog opened.
    DeviceRecord device;
    QPointer<MySocket> endpoint;
    bool ipShared = false;
};

#endif // SUBDEVICEINFO_H
