#pragma once

#include <QByteArrayView>
#include <cstdint>

// CRC-8 without reflection or final XOR. The device uses polynomial 0x07 and
// initial value 0x00 (CRC-8/SMBUS).
std::uint8_t CRC8(QByteArrayView data, std::uint8_t polynomial = 0x07, std::uint8_t initial = 0x00);
