#pragma once

#include "records.h"

class DeviceLink;

// Reads the device's parameter set ("*1"): the mode count, then every block
// with its CRC, each answered "*OK", or "*ER" on a CRC mismatch. The blocks
// are received into a scratch copy that replaces params (with its ModeCount)
// only after the last block was accepted; a failed read leaves it untouched,
// so no half-received bytes can later be written back to the device. A mode
// count outside 1 to 5 fails before any block is read.
bool ReadParameterBlocks(DeviceLink &link, tParameterSet &params);

// Writes the first params.ModeCount modes and the three global records ("*0"
// + the count), each block followed by its CRC byte and acknowledged with
// "*OK". Stops at the first block that is not acknowledged.
bool WriteParameterBlocks(DeviceLink &link, const tParameterSet &params);

enum class ResetResult {
    Busy, // another exchange holds the Communication flag; nothing was sent
    Reset, // the device answered "*R"
    NoAnswer, // no or a wrong answer
};

// Asks the device to return to its factory settings ("*R"). Holds the
// Communication flag for the exchange.
ResetResult ResetDeviceParameters(DeviceLink &link);
