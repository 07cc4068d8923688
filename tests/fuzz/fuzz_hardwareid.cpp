// Hardware-ID parsing: the input is the text of device notifications and
// port listings (lines of "USB\VID_xxxx&PID_xxxx\/devices/..." or hardware
// IDs), which comes from the system and from whatever device is plugged in.

#include "device/usbdevices.h"
#include "fuzzcheck.h"

#include <algorithm>

namespace {

// Ports and hardware IDs taken from the input's lines, in pairs.
class InputEnumerator : public DeviceEnumerator
{
public:
    explicit InputEnumerator(const QStringList &lines)
    {
        for (qsizetype i = 0; i + 1 < lines.size() && i < 64; i += 2)
            m_devices.append(SerialDeviceInfo { lines[i], lines[i + 1] });
    }
    QList<SerialDeviceInfo> serialDevices() const override { return m_devices; }
    QString portOfUsbDevice(const QString &usbDevpath) const override
    {
        FUZZ_CHECK(usbDevpath.startsWith(QLatin1Char('/')));
        return QStringLiteral("ttyACM0");
    }

private:
    QList<SerialDeviceInfo> m_devices;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(fuzzBytes(data, size));
    const QStringList lines = text.split(QLatin1Char('\n'));

    for (const QString &line : lines) {
        const int vid = ReadHexId(QStringLiteral("VID_"), line);
        const int pid = ReadHexId(QStringLiteral("PID_"), line);
        FUZZ_CHECK(vid >= 0 && vid <= 0xFFFF && pid >= 0 && pid <= 0xFFFF);
        FUZZ_CHECK(!isVelotrixDevice(line) || (vid == VelotrixVendorId && pid == VelotrixProductId));
        FUZZ_CHECK(!(isVelotrixDevice(line) && isBootloaderDevice(line)));

        const QString devpath = usbDevpathOf(line);
        FUZZ_CHECK(devpath.isEmpty() || (devpath.startsWith(QLatin1Char('/')) && line.endsWith(devpath)));
        const QString port = GetComPortName(line, InputEnumerator({}));
        FUZZ_CHECK(port.isEmpty() == devpath.isEmpty());

        // A path this program builds parses back to its parts.
        const QString built = usbDevicePath(vid, pid, QLatin1Char('/') + line);
        FUZZ_CHECK(ReadHexId(QStringLiteral("VID_"), built) == vid);
        FUZZ_CHECK(ReadHexId(QStringLiteral("PID_"), built) == pid);
        FUZZ_CHECK(usbDevpathOf(built) == QLatin1Char('/') + line);
    }

    // Any marker over any text: the first line is the marker.
    if (lines.size() >= 2) {
        const int value = ReadHexId(lines[0], lines[1]);
        FUZZ_CHECK(value >= 0 && value <= 0xFFFF);
    }

    const InputEnumerator enumerator(lines);
    QStringList ports { QStringLiteral("stale") };
    ListDevicePorts(ports, QString::fromLatin1(VelotrixHardwareIdPrefix), enumerator);
    for (const QString &port : ports)
        FUZZ_CHECK(!port.isEmpty());
    listAllSerialPorts(enumerator);
    SubtractPortList(lines, ports);

    // Ports remembered under the input's paths are found below their device
    // and are gone once the device is forgotten.
    UsbPortMap map;
    const qsizetype paths = std::min<qsizetype>(lines.size(), 64);
    for (qsizetype i = 0; i < paths; ++i)
        map.remember(lines[i], QStringLiteral("ttyACM%1").arg(i));
    for (qsizetype i = 0; i < paths; ++i) {
        const qsizetype slash = lines[i].lastIndexOf(QLatin1Char('/'));
        if (slash > 0)
            FUZZ_CHECK(!map.portBelow(lines[i].first(slash)).isEmpty());
    }
    for (qsizetype i = 0; i < paths; ++i) {
        map.forgetBelow(lines[i]);
        FUZZ_CHECK(map.portBelow(lines[i]).isEmpty());
    }
    return 0;
}
