#include "subdeviceinfo.h"

#include <QCloseEvent>
#include <QLineEdit>
#include <QPushButton>

SubDeviceInfo::SubDeviceInfo(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("PLC Info"));
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    createLayout();
    createConnections();
    loadDeviceInfo();
}

QString SubDeviceInfo::tableMacText() const
{
    return {};
}

QString SubDeviceInfo::macText() const
{
    return {};
}

QString SubDeviceInfo::deviceNameText() const
{
    return {};
}

QString SubDeviceInfo::ipText() const
{
    return {};
}

QString SubDeviceInfo::netMaskText() const
{
    return {};
}

QString SubDeviceInfo::gateWayText() const
{
    return {};
}

void SubDeviceInfo::modifyConfirmActionSlot()
{
}

void SubDeviceInfo::closeEvent(QCloseEvent *event)
{
    emit subPlcWindowClosed();
    event->accept();
}

void SubDeviceInfo::createLayout()
{
}

void SubDeviceInfo::createConnections()
{
}

void SubDeviceInfo::loadDeviceInfo()
{
}
