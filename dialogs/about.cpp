#include "about.h"

About::About(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QObject::tr("About"));
    setWindowFlags(Qt::Dialog | Qt::WindowCloseButtonHint);
    createLayout();
}

void About::createLayout()
{
}
