#include "battery.h"

#include "devicelink.h"

#include <cmath>

BatteryLevel BatteryLevelFromReading(quint16 reading)
{
    if (reading <= 3320)
        return {0, 3};

    // Each band maps its voltage span linearly onto one quarter of the scale.
    int base;
    int offset;
    double slope;
    int icon;
    if (reading >= 3965) {
        base = 75;
        offset = std::min<int>(reading, 4100) - 3964;
        slope = 25.0 / 136.0;
        icon = 0;
    } else if (reading >= 3789) {
        base = 50;
        offset = reading - 3788;
        slope = 25.0 / 176.0;
        icon = 1;
    } else if (reading >= 3735) {
        base = 25;
        offset = reading - 3734;
        slope = 25.0 / 54.0;
        icon = 2;
    } else {
        base = 0;
        offset = reading - 3320;
        slope = 25.0 / 414.0;
        icon = 3;
    }
    // The band value is held as a 32-bit float before rounding (halves to
    // even), then rounded up to the next multiple of 5.
    const float q = static_cast<float>(offset * slope);
    const int n = static_cast<int>(std::nearbyint(static_cast<double>(q) + base));
    return {5 * ((n + 4) / 5), icon};
}

std::optional<quint16> RequestBatteryReading(DeviceLink &link)
{
    link.port().clearBuffers();
    link.WriteBytesToPort(QByteArrayLiteral("*B"));
    DeviceLink::Delay_ms(150);
    if (link.port().read(2) != QByteArrayLiteral("*B"))
        return std::nullopt;
    const QByteArray value = link.port().read(2);
    if (value.size() != 2)
        return std::nullopt;
    return static_cast<quint16>(static_cast<quint8>(value[0]) | (static_cast<quint8>(value[1]) << 8));
}
