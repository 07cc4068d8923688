#pragma once

#include <QString>

// The user's data folders. Both paths end in "/".

// The user's documents folder followed by "Velotrix/" (on Linux usually
// ~/Documents/Velotrix/). Holds the setup and firmware folders.
QString PersonalDatapath();

// PersonalDatapath() + "Setups/": one file per setup.
QString SetupDatapath();

// Puts the personal data folder below folder instead of the documents
// folder, for this process; an empty text restores the documents folder.
// Tests pass a temporary folder here. With Qt's test mode on and nothing set
// here, the documents folder is a "Documents" folder in the test data
// location, so no test reaches the user's own setups.
void setDocumentsFolder(const QString &folder);
