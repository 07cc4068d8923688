#include "pin_dlg.h"

#include "services/translation.h"

TPIN_Dlg::TPIN_Dlg(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("PIN_Dlg"));
    setWindowTitle(N_("PIN "));
    setFixedSize(260, 150);
}
