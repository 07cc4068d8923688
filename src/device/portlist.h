#pragma once

#include <QStringList>

// Every serial port present on the system, sorted as text without regard to
// case (so COM10 comes before COM2).
QStringList listAllSerialPorts();

// The ordering used for the port chooser.
QStringList sortPortNames(QStringList names);
