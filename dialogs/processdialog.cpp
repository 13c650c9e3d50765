#include "processdialog.h"

ProcessDialog::ProcessDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QObject::tr("Scan"));
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    createLayout();
}

void ProcessDialog::timeOutSlot()
{
}

void ProcessDialog::createLayout()
{
}
