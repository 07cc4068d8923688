#include "update/intelhex.h"

#include "services/translation.h"

#include <QFile>
#include <optional>

namespace {

std::optional<int> hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return std::nullopt;
}

HexCheck fault(int line, const QString &text)
{
    HexCheck result;
    result.line = line;
    result.fault = text;
    return result;
}

} // namespace

HexCheck checkIntelHex(const QByteArray &content, std::uint32_t memorySize)
{
    // Upper 16 address bits from record 04, or segment base from record 02.
    std::uint32_t base = 0;
    std::uint32_t dataBytes = 0;
    bool ended = false;
    int lineNo = 0;
    qsizetype pos = 0;
    while (pos < content.size()) {
        qsizetype end = content.indexOf('\n', pos);
        if (end < 0)
            end = content.size();
        QByteArrayView line(content.constData() + pos, end - pos);
        pos = end + 1;
        ++lineNo;
        // Trailing blanks and carriage returns (also doubled ones, as some
        // editors write them) are no part of a record.
        while (!line.isEmpty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.chop(1);
        if (line.trimmed().isEmpty())
            continue;
        if (ended)
            return fault(lineNo, N_("There is data after the end record."));
        if (line.front() != ':')
            return fault(lineNo, N_("A line does not start with a colon."));
        line = line.sliced(1);
        // Count, address (2), type and checksum make at least 5 bytes.
        if (line.size() % 2 != 0 || line.size() < 10)
            return fault(lineNo, N_("A record has a wrong length."));
        QByteArray bytes;
        bytes.reserve(line.size() / 2);
        for (qsizetype i = 0; i < line.size(); i += 2) {
            const auto hi = hexValue(line[i]);
            const auto lo = hexValue(line[i + 1]);
            if (!hi || !lo)
                return fault(lineNo, N_("A record holds a character that is not hexadecimal."));
            bytes.append(static_cast<char>(*hi << 4 | *lo));
        }
        const auto byteAt = [&bytes](qsizetype i) { return static_cast<std::uint8_t>(bytes[i]); };
        const int count = byteAt(0);
        if (bytes.size() != count + 5)
            return fault(lineNo, N_("A record has a wrong length."));
        std::uint8_t sum = 0;
        for (qsizetype i = 0; i < bytes.size(); ++i)
            sum = static_cast<std::uint8_t>(sum + byteAt(i));
        if (sum != 0)
            return fault(lineNo, N_("A record has a wrong checksum."));
        const std::uint32_t offset = static_cast<std::uint32_t>(byteAt(1) << 8 | byteAt(2));
        switch (byteAt(3)) {
        case 0x00: {
            if (count == 0)
                break;
            // 64-bit arithmetic: base + offset + count may pass 2^32.
            const std::uint64_t last
                = std::uint64_t { base } + offset + static_cast<std::uint64_t>(count) - 1;
            if (last >= memorySize)
                return fault(lineNo, N_("The file holds data outside the device's memory."));
            dataBytes += static_cast<std::uint32_t>(count);
            break;
        }
        case 0x01:
            if (count != 0)
                return fault(lineNo, N_("A record has a wrong length."));
            ended = true;
            break;
        case 0x02:
            if (count != 2)
                return fault(lineNo, N_("A record has a wrong length."));
            base = static_cast<std::uint32_t>(byteAt(4) << 8 | byteAt(5)) << 4;
            break;
        case 0x04:
            if (count != 2)
                return fault(lineNo, N_("A record has a wrong length."));
            base = static_cast<std::uint32_t>(byteAt(4) << 8 | byteAt(5)) << 16;
            break;
        case 0x03:
        case 0x05:
            if (count != 4)
                return fault(lineNo, N_("A record has a wrong length."));
            break;
        default:
            return fault(lineNo, N_("A record has an unknown type."));
        }
    }
    if (!ended)
        return fault(0, N_("The file has no end record."));
    if (dataBytes == 0)
        return fault(0, N_("The file holds no data."));
    HexCheck result;
    result.ok = true;
    result.dataBytes = dataBytes;
    return result;
}

HexCheck checkIntelHexFile(const QString &path, std::uint32_t memorySize)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fault(0, N_("The file cannot be read."));
    // A full image takes about 2.8 characters per byte plus line overhead;
    // anything far beyond that is no image of this memory.
    const qint64 limit = qint64 { memorySize } * 4 + 64 * 1024;
    if (file.size() > limit)
        return fault(0, N_("The file is too large for the device's memory."));
    return checkIntelHex(file.read(limit + 1), memorySize);
}
