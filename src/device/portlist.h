#pragma once

#include <QStringList>

// Every serial port present on the system, sorted as text without regard to
// case (so COM10 comes before COM2). Pseudo-terminals served by a running
// velotrix-emulator are listed too, so the program can be tried without a
// device.
QStringList listAllSerialPorts();

// The folder in which velotrix-emulator announces its pseudo-terminal: one
// "<pid>.port" file holding the terminal's path while the emulator runs.
QString emulatorAnnouncementFolder();
// The announced terminals that still exist.
QStringList announcedEmulatorPorts();

// The ordering used for the port chooser.
QStringList sortPortNames(QStringList names);
