#include "helpdocuments.h"

#include <QCoreApplication>
#include <QDesktopServices>

QUrl makerWebsite()
{
    return QUrl(QStringLiteral("https://www.orvane.com/"));
}

QString manualPath(const QString &language)
{
    const QString name = language == QLatin1String("de") ? QStringLiteral("Velotrix_de.pdf")
                                                         : QStringLiteral("Velotrix_en.pdf");
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
}

void openManual(const QString &language)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(manualPath(language)));
}

void openWebsite()
{
    QDesktopServices::openUrl(makerWebsite());
}
