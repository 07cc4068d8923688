#include "changepindialog.h"

#include "services/translation.h"

TChangePINDialog::TChangePINDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ChangePINDialog"));
    setWindowTitle(N_("Change PIN"));
    setFixedSize(300, 210);
}
