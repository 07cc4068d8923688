#include "formfirmwareupdate.h"

#include "services/translation.h"

TFormFirmwareUpdate::TFormFirmwareUpdate(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormFirmwareUpdate"));
    setWindowTitle(N_("Update Firmware"));
    setFixedSize(498, 285);
}
