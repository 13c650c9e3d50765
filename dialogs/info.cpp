#include "info.h"

Info::Info(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QObject::tr("Host Info"));
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    createLayout();
}

QString Info::readHostName() const
{
    return {};
}

QString Info::readHostIpAddress() const
{
    return {};
}

QString Info::readHostMacAddress() const
{
    return {};
}

void Info::createLayout()
{
}
