// The record decoders: the input is a record image as the serial link or a
// setup file brings it, of any length. A decoded record encodes to exactly
// its size and decodes again to the same record.

#include "device/records.h"
#include "fuzzcheck.h"

namespace {

template <typename Record> void roundTrip(QByteArrayView bytes)
{
    const Record record = Record::fromBytes(bytes);
    const QByteArray image = record.toBytes();
    FUZZ_CHECK(image.size() == Record::Size);
    FUZZ_CHECK(Record::fromBytes(image) == record);
    FUZZ_CHECK(Record::fromBytes(image).toBytes() == image);
}

template <typename Record> void everyOffset(QByteArrayView bytes)
{
    // The record at the start, and records cut short or read further in,
    // as a nested record inside a larger image is.
    roundTrip<Record>(bytes);
    for (qsizetype at = 1; at < bytes.size() && at <= Record::Size; at += 3)
        roundTrip<Record>(bytes.sliced(at));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    everyOffset<tLED>(bytes);
    everyOffset<tDbClickProx>(bytes);
    everyOffset<tProxFeedback>(bytes);
    everyOffset<tRelTiming>(bytes);
    everyOffset<tModeDescriptor>(bytes);
    everyOffset<tSpecialActionDesc>(bytes);
    everyOffset<tAlarmSettings>(bytes);
    everyOffset<tAntiTremor>(bytes);

    // The five modes as one image: a shorter view changes only what it
    // covers, and the image goes back unchanged through another set.
    tParameterSet params;
    const QByteArray untouched = params.modeBytes();
    params.setModeBytes(bytes);
    const QByteArray modes = params.modeBytes();
    FUZZ_CHECK(modes.size() == tParameterSet::ModeBytesSize);
    if (bytes.size() < tParameterSet::ModeBytesSize)
        FUZZ_CHECK(modes.sliced(bytes.size()) == untouched.sliced(bytes.size()));
    tParameterSet copy;
    copy.setModeBytes(modes);
    FUZZ_CHECK(copy.modeBytes() == modes);
    FUZZ_CHECK(copy.ModeDescriptor == params.ModeDescriptor);

    // Colours: RGB565 goes to a colour and back unchanged.
    if (size >= 4) {
        const std::uint16_t rgb = static_cast<std::uint16_t>(data[0] | (data[1] << 8));
        FUZZ_CHECK(ColorToRGB565(RGB565ToColor(rgb)) == rgb);
        const std::uint32_t color = static_cast<std::uint32_t>(data[0] | (data[1] << 8) | (data[2] << 16))
            | (std::uint32_t(data[3]) << 24);
        const std::uint16_t packed = ColorToRGB565(color);
        FUZZ_CHECK(ColorToRGB565(RGB565ToColor(packed)) == packed);
    }
    return 0;
}
