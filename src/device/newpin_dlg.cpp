#include "newpin_dlg.h"

#include "services/translation.h"

TNewPIN_Dlg::TNewPIN_Dlg(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("NewPIN_Dlg"));
    setWindowTitle(N_("Set PIN"));
    setFixedSize(260, 190);
}
