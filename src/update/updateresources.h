#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

// Registers the update windows' pictures.
void initUpdateResources();

// One of the update windows' SVG pictures drawn at size.
QPixmap updatePicture(const QString &name, QSize size);
