#include "formfirmwarefiles.h"

#include "services/translation.h"

TFormFirmwareFiles::TFormFirmwareFiles(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FormFirmwareFiles"));
    setWindowTitle(N_("Select firmware"));
    setFixedSize(325, 243);
}
