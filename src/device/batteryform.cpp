#include "batteryform.h"

#include "services/translation.h"

TBatteryform::TBatteryform(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Batteryform"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(N_("Battery status"));
    setFixedSize(260, 136);
}
