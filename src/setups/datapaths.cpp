#include "setups/datapaths.h"

#include <QStandardPaths>

namespace {

QString &documentsOverride()
{
    static QString folder;
    return folder;
}

QString documentsFolder()
{
    if (!documentsOverride().isEmpty())
        return documentsOverride();
    if (QStandardPaths::isTestModeEnabled())
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
            + QStringLiteral("/Documents");
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

} // namespace

void setDocumentsFolder(const QString &folder)
{
    documentsOverride() = folder;
}

// An undeterminable documents folder leaves "/Velotrix/", as the program has
// always done; it is then simply not writable for an ordinary user.
QString PersonalDatapath()
{
    QString folder = documentsFolder();
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder + QStringLiteral("/Velotrix/");
}

QString SetupDatapath()
{
    return PersonalDatapath() + QStringLiteral("Setups/");
}
