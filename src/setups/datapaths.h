#pragma once

#include <QString>

// The user's data folder: the documents folder followed by "Velotrix/"
// (~/Documents/Velotrix/ on Linux). Ends with a separator.
QString PersonalDatapath();

// The folder of the setup files inside the personal data folder.
QString SetupDatapath();
