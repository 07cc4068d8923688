#include "setups/datapaths.h"

#include <QStandardPaths>

QString PersonalDatapath()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/Velotrix/");
}

QString SetupDatapath()
{
    return PersonalDatapath() + QStringLiteral("Setups/");
}
