#include "crc8.h"

std::uint8_t CRC8(QByteArrayView data, std::uint8_t polynomial, std::uint8_t initial)
{
    unsigned c = initial;
    for (char d : data) {
        c ^= static_cast<std::uint8_t>(d);
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 0x80u) ? ((c << 1) ^ polynomial) & 0xFFu : (c << 1) & 0xFFu;
    }
    return static_cast<std::uint8_t>(c);
}
