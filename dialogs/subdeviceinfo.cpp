// SPDX-FileCopyrightText: 2026 The Nesdrix developers
//
// SPDX-License-Identifier: Apache-2.0

#include "subdeviceinfo.h"

#include "addresschecktext.h"

#include "devicetext.h"
#include "mysocket.h"
#include "warningbox.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const char ReadOnlyFieldStyle[] = "color: black;background-color: rgb(180, 180, 180);"
                                  "selection-color: yellow;selection-background-color: blue;";

QLineEdit *createField(QWidget *parent, const char *name, bool readOnly)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    if (readOnly) {
        field->setReadOnly(true);
        field->setStyleSheet(QLatin1String(ReadOnlyFieldStyle));
        // A click still selects its text to copy; Tab passes it by.
        field->setFocusPolicy(Qt::ClickFocus);
    }
    return field;
}

QPushButton *createButton(QWidget *parent, const char *name, const QString &text)
{
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace

SubDeviceInfo::SubDeviceInfo(
    const DeviceRecord &device, QWidget *parent, MySocket *endpoint, bool ipShared)
    : QDialog(parent)
    , device(device)
    , endpoint(endpoint)
    , ipShared(ipShared)
{
    setWindowTitle(tr("PLC Info"));
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    createLayout();
    createConnections();
    loadDeviceInfo();
    updateModifyButton();
    // The keys start where a new address is typed, and Tab runs down the
    // fields that can be changed, then to the buttons.
    setTabOrder(ipEdit, netMaskEdit);
    setTabOrder(netMaskEdit, gateWayEdit);
    setTabOrder(gateWayEdit, modifyButton);
    setTabOrder(modifyButton, closeButton);
    ipEdit->setFocus(Qt::OtherFocusReason);
    ipEdit->selectAll();
}

void SubDeviceInfo::updateModifyButton()
{
    const std::optional<DeviceSettings> typed
        = DeviceSettings::fromTexts(ipEdit->text(), netMaskEdit->text(), gateWayEdit->text());
    // Text that is no address counts as a change: Modify then names the wrong field.
    modifyButton->setEnabled(!typed || *typed != device.settings());
}

void SubDeviceInfo::setConflictNote(const QString &text)
{
    conflictLabel->setText(text.isEmpty() ? QString()
                                          : tr("Sort this out before you write new settings:")
            + QLatin1Char('\n') + text);
    conflictLabel->setVisible(!text.isEmpty());
}

void SubDeviceInfo::reject()
{
    // QDialog would only hide: the window would keep the device flashing.
    close();
}

std::optional<DeviceSettings> SubDeviceInfo::typedSettings()
{
    const QString ip = ipEdit->text();
    const QString mask = netMaskEdit->text();
    const QString gateway = gateWayEdit->text();
    if (const std::optional<SettingsFault> fault
        = settingsFault(ip, mask, gateway, macEdit->text())) {
        showInputError(fault->field);
        return std::nullopt;
    }
    return DeviceSettings::fromTexts(ip, mask, gateway);
}

void SubDeviceInfo::setListedDevices(std::function<QVector<DeviceRecord>()> listed)
{
    listedDevices = std::move(listed);
}

void SubDeviceInfo::modifyConfirmActionSlot()
{
    const std::optional<DeviceSettings> settings = typedSettings();
    if (!settings)
        return;
    typedSettingsToWrite = *settings;
    typedMac = *MacAddress::fromText(macEdit->text());
    const std::optional<AddressCheckResult> known = addressChecker->start(
        device, settings->ip, listedDevices ? listedDevices() : QVector<DeviceRecord>());
    if (known)
        writeCheckedSettings(*known);
    else
        setChecking(true);
}

void SubDeviceInfo::addressCheckFinished(const AddressCheckResult &result)
{
    setChecking(false);
    writeCheckedSettings(result);
}

void SubDeviceInfo::setChecking(bool checking)
{
    // The typed settings stay as they are until the answer decides on them.
    for (QWidget *widget : { static_cast<QWidget *>(modifyButton), static_cast<QWidget *>(ipEdit),
             static_cast<QWidget *>(netMaskEdit), static_cast<QWidget *>(gateWayEdit) })
        widget->setEnabled(!checking);
    if (!checking)
        updateModifyButton();
    addressCheckLabel->setVisible(checking);
    if (checking)
        addressCheckLabel->setText(
            tr("Checking that %1 is free...").arg(typedSettingsToWrite.ip.toString()));
}

void SubDeviceInfo::writeCheckedSettings(const AddressCheckResult &check)
{
    if (check.outcome == AddressCheckResult::Outcome::InUse && !confirmWriteAnyway(check))
        return;
    // The name bytes the device reported, so that a name in any encoding is
    // written back unchanged.
    const bool sent = endpoint
        && endpoint->udpSendCmdModify(DeviceTarget::of(device, ipShared), typedMac,
            Datagram::nameFieldFromReported(device.nameBytes), typedSettingsToWrite);
    if (!sent) {
        showModifyFailure(endpoint ? endpoint->lastSendError() : MySocket::notOpenText());
        return;
    }
    DeviceRecord written = device;
    written.mac = typedMac;
    written.ip = typedSettingsToWrite.ip;
    written.mask = typedSettingsToWrite.mask;
    written.gateway = typedSettingsToWrite.gateway;
    emit settingsWritten(written, check);
    close();
}

bool SubDeviceInfo::confirmWriteAnyway(const AddressCheckResult &check)
{
    QMessageBox box(QMessageBox::Warning, tr("Address in Use"),
        tr("%1 is already in use by %2.\n\nTwo devices with one address disturb each other "
           "and can stop the line. Write the address anyway?")
            .arg(typedSettingsToWrite.ip.toString(), AddressCheckText::holder(check)),
        QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("addressInUseBox"));
    // The holder's name came from the network.
    box.setTextFormat(Qt::PlainText);
    QPushButton *writeAnyway = box.addButton(tr("Write Anyway"), QMessageBox::AcceptRole);
    writeAnyway->setObjectName(QStringLiteral("writeAnywayButton"));
    QPushButton *cancel = box.addButton(tr("Cancel"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == writeAnyway;
}

void SubDeviceInfo::showFlashFailure(const QString &reason)
{
    flashFailedLabel->setText(tr("The device's LEDs cannot be flashed: %1. Check the cable and "
                                 "that the network adapter is up.")
                                  .arg(reason));
    flashFailedLabel->show();
}

void SubDeviceInfo::clearFlashFailure()
{
    flashFailedLabel->clear();
    flashFailedLabel->hide();
}

void SubDeviceInfo::closeEvent(QCloseEvent *event)
{
    // Closed while checking: nothing is written.
    addressChecker->cancel();
    emit subPlcWindowClosed();
    event->accept();
}

void SubDeviceInfo::createLayout()
{
    const QString captionTexts[] = { tr("Device Name"), tr("PLC Version"), tr("IP Address"),
        tr("Net Mask"), tr("Gate Way"), tr("MAC Address") };
    auto *captions = new QVBoxLayout;
    for (const QString &text : captionTexts)
        captions->addWidget(new QLabel(text, this));

    deviceNameEdit = createField(this, "deviceNameEdit", true);
    ipEdit = createField(this, "ipEdit", false);
    netMaskEdit = createField(this, "netMaskEdit", false);
    gateWayEdit = createField(this, "gateWayEdit", false);
    plcVersionEdit = createField(this, "plcVersionEdit", true);
    macEdit = createField(this, "macEdit", true);
    auto *fields = new QVBoxLayout;
    for (QLineEdit *field :
        { deviceNameEdit, plcVersionEdit, ipEdit, netMaskEdit, gateWayEdit, macEdit })
        fields->addWidget(field);

    auto *tip = new QLabel(tr("Tips: Modified to take effect after restarting the device!"), this);
    tip->setObjectName(QStringLiteral("tipLabel"));
    tip->setStyleSheet(QStringLiteral("color: blue;"));
    flashFailedLabel = new QLabel(this);
    flashFailedLabel->setObjectName(QStringLiteral("flashFailedLabel"));
    flashFailedLabel->setTextFormat(Qt::PlainText);
    flashFailedLabel->setWordWrap(true);
    flashFailedLabel->setStyleSheet(QStringLiteral("color: red;"));
    flashFailedLabel->hide();
    conflictLabel = new QLabel(this);
    conflictLabel->setObjectName(QStringLiteral("conflictLabel"));
    conflictLabel->setTextFormat(Qt::PlainText);
    conflictLabel->setWordWrap(true);
    conflictLabel->setStyleSheet(QStringLiteral("color: red;"));
    conflictLabel->hide();
    addressCheckLabel = new QLabel(this);
    addressCheckLabel->setObjectName(QStringLiteral("addressCheckLabel"));
    addressCheckLabel->setTextFormat(Qt::PlainText);
    addressCheckLabel->hide();

    // Created first, Modify becomes the dialog's default button: Enter in a field presses it.
    modifyButton = createButton(this, "modifyButton", tr("Modify"));
    closeButton = createButton(this, "closeButton", tr("Close"));

    auto *fieldsRow = new QHBoxLayout;
    fieldsRow->addLayout(captions);
    fieldsRow->addLayout(fields);
    auto *buttonsRow = new QHBoxLayout;
    buttonsRow->addWidget(modifyButton);
    buttonsRow->addWidget(closeButton);
    auto *dialogLayout = new QVBoxLayout;
    dialogLayout->addLayout(fieldsRow);
    dialogLayout->addWidget(tip);
    dialogLayout->addWidget(conflictLabel);
    dialogLayout->addWidget(flashFailedLabel);
    dialogLayout->addWidget(addressCheckLabel);
    dialogLayout->addLayout(buttonsRow);
    setLayout(dialogLayout);
}

void SubDeviceInfo::createConnections()
{
    connect(modifyButton, &QPushButton::clicked, this, &SubDeviceInfo::modifyConfirmActionSlot);
    connect(closeButton, &QPushButton::clicked, this, &SubDeviceInfo::close);
    for (QLineEdit *field : { ipEdit, netMaskEdit, gateWayEdit })
        connect(field, &QLineEdit::textChanged, this, &SubDeviceInfo::updateModifyButton);
    // The probe leaves from the endpoint's port, as every request does.
    addressChecker = new AddressChecker(
        [this](const QHostAddress &ip, int interfaceIndex, QString *error) {
            if (endpoint)
                return endpoint->udpSendAddressProbe(ip, interfaceIndex, error);
            *error = MySocket::notOpenText();
            return false;
        },
        this);
    connect(addressChecker, &AddressChecker::finished, this, &SubDeviceInfo::addressCheckFinished);
}

void SubDeviceInfo::loadDeviceInfo()
{
    deviceNameEdit->setText(device.name());
    ipEdit->setText(device.ip.toString());
    netMaskEdit->setText(device.mask.toString());
    gateWayEdit->setText(device.gateway.toString());
    plcVersionEdit->setText(device.version);
    macEdit->setText(device.mac.toString());
}

void SubDeviceInfo::showInputError(SettingsFault::Field field)
{
    // The MAC box's button is the one text of these boxes in the dialog's own context.
    const QString okText = field == SettingsFault::Mac ? tr("OK") : QObject::tr("OK");
    showWarning(this, QObject::tr("Error"), settingsFieldErrorText(field), okText);
}

void SubDeviceInfo::showModifyFailure(const QString &reason)
{
    // The dialog stays open with the entered settings, to be sent again.
    showWarning(this, QObject::tr("Error"),
        tr("The new settings could not be sent to the device: %1\n\nCheck the cable and that "
           "the network adapter is up, then press Modify again.")
            .arg(reason),
        QObject::tr("OK"));
}
