#include "formfirmwareupdate.h"

#include "services/translation.h"
#include "services/windowtranslator.h"

TFormFirmwareUpdate::TFormFirmwareUpdate(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormFirmwareUpdate"));
    setWindowTitle(N_("Update Firmware"));
    setFixedSize(498, 285);

    TranslateComponent(this);
}
