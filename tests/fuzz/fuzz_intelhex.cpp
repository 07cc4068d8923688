// The firmware file check: the input is a firmware or EEPROM file as a user
// puts it into the firmware folder. The check never crashes, and its answer
// is consistent: an accepted image holds data, stays accepted for a larger
// memory and with a blank line added after its end record.

#include "fuzzcheck.h"
#include "update/intelhex.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray content = fuzzBytes(data, size);
    const HexCheck eeprom = checkIntelHex(content, EepromSize);
    const HexCheck flash = checkIntelHex(content, ApplicationFlashSize);
    for (const HexCheck &check : { eeprom, flash }) {
        FUZZ_CHECK(check.ok == check.fault.isEmpty());
        FUZZ_CHECK(!check.ok || check.dataBytes > 0);
        FUZZ_CHECK(check.ok || check.line >= 0);
    }
    FUZZ_CHECK(!eeprom.ok || flash.ok);
    if (flash.ok) {
        FUZZ_CHECK(checkIntelHex(content + "\r\n", ApplicationFlashSize).ok);
        FUZZ_CHECK(!checkIntelHex(content, 0).ok);
    }
    return 0;
}
