#pragma once

#include <QMap>
#include <QString>

// Writes a minimal message catalogue (MO format, little endian, no hash
// table) with a UTF-8 header, for tests that need translations without a
// .po toolchain.
bool writeMoCatalogue(const QString &path, const QMap<QString, QString> &messages);
