#pragma once

#include <QString>
#include <QUrl>

// The maker's website, opened by the main window's website action.
QUrl makerWebsite();

// The PDF manual beside the program: Velotrix_de.pdf for the language "de",
// Velotrix_en.pdf for any other.
QString manualPath(const QString &language);

// Hand the manual or the website to the desktop's viewer. A missing file or
// viewer is not reported: the result is ignored by the callers.
void openManual(const QString &language);
void openWebsite();
