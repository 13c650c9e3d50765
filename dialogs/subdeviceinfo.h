// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#ifndef SUBDEVICEINFO_H
#define SUBDEVICEINFO_H

#include "devicerecord.h"
#include "devicetext.h"

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

// Shows a listed device and writes new network settings to it.
class SubDeviceInfo : public QDialog
{
    Q_OBJECT

public:
    SubDeviceInfo(const DeviceRecord &device, QWidget *parent);

    // The MAC the device was listed with when the dialog opened; rows that
    // arrive while it is open do not change it.
    MacAddress tableMac() const { return device.mac; }

    // Says under the fields which other devices share the device's IP or MAC
    // address on its network; an empty text says nothing.
    void setConflictNote(const QString &text);

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
    void loadDeviceInfo();
    // The modify request for the settings typed, or nothing after telling the
    // first one that is wrong.
    std::optional<Datagram::ModifyFields> typedModify();
    void showInputError(SettingsFault::Field field);
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
    QLabel *conflictLabel = nullptr;
    // The device as listed when the dialog opened.
    DeviceRecord device;
};

#endif // SUBDEVICEINFO_H
