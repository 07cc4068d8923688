#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

// The memories of the device's chip (atxmega32a4u) that a firmware file may
// fill: the application flash and the EEPROM.
inline constexpr std::uint32_t ApplicationFlashSize = 32 * 1024;
inline constexpr std::uint32_t EepromSize = 1024;

// Whether a file is a well-formed Intel HEX image whose every data byte lies
// below `memorySize`: every line a record ':' + hex pairs with a matching
// length and checksum, data (00), end (01), extended segment (02) or linear
// (04) address and start address (03, 05) records only, and an end record
// after which nothing but blank lines follows. A file without any data is
// refused too, as flashing it would only erase the device.
struct HexCheck
{
    bool ok = false;
    // 1-based line of the first fault, 0 for faults of the whole file.
    int line = 0;
    // English message id of the fault, passed through tx() when shown;
    // empty when the file is good.
    QString fault;
    std::uint32_t dataBytes = 0;
};

HexCheck checkIntelHex(const QByteArray &content, std::uint32_t memorySize);

// Reads and checks a file; a file that cannot be read or is larger than a
// HEX image of the memory could be is refused.
HexCheck checkIntelHexFile(const QString &path, std::uint32_t memorySize);
