#pragma once

#include <QtGlobal>
#include <optional>

class DeviceLink;

// Battery reading of the device: the cell voltage in millivolts, 3320 empty
// to 4100 full.
struct BatteryLevel
{
    int percent = 0; // 0 to 100 in steps of 5
    int icon = 3; // 0 full (green), 1 half (yellow), 2 low (red), 3 empty
};

// Maps a non-zero reading onto the charge shown to the user. A reading of 0
// means the device could not measure and has no level.
BatteryLevel BatteryLevelFromReading(quint16 reading);

// Asks the device for its battery reading ("*B"): clears the buffers, sends
// the command, waits 150 ms and reads "*B" and two bytes (low byte first).
// A wrong header or a short reply gives no value. Does not touch the
// Communication flag; callers hold a CommunicationGuard for the whole
// request.
std::optional<quint16> RequestBatteryReading(DeviceLink &link);
