#include "transfers.h"

#include "crc8.h"
#include "devicelink.h"

#include <QThread>

namespace {

// Receives one block and its CRC byte and answers it. Returns false when the
// block or the CRC did not arrive, or the CRC did not match ("*ER" sent).
bool receiveBlock(DeviceLink &link, int size, QByteArray &block)
{
    block = link.port().read(size);
    if (block.size() != size)
        return false;
    const QByteArray crc = link.port().read(1);
    if (crc.size() != 1)
        return false;
    if (CRC8(block) != static_cast<std::uint8_t>(crc[0])) {
        link.WriteBytesToPort(QByteArrayLiteral("*ER"));
        return false;
    }
    link.WriteBytesToPort(QByteArrayLiteral("*OK"));
    return true;
}

// Sends one block, then its CRC byte in a second write, and waits for "*OK".
bool sendBlock(DeviceLink &link, const QByteArray &block)
{
    link.port().write(block);
    link.port().write(QByteArray(1, static_cast<char>(CRC8(block))));
    return link.ReadResult_OK();
}

} // namespace

bool ReadParameterBlocks(DeviceLink &link, tParameterSet &params)
{
    link.port().clearBuffers();
    link.WriteBytesToPort(QByteArrayLiteral("*1"));
    QThread::msleep(500);

    if (link.port().read(2) != QByteArrayLiteral("*0"))
        return false;
    const QByteArray count = link.port().read(1);
    if (count.size() != 1)
        return false;
    const int n = static_cast<std::uint8_t>(count[0]);
    if (n < 1 || n > tParameterSet::MaxModes)
        return false;

    tParameterSet received = params;
    QByteArray block;
    for (int i = 0; i < n; ++i) {
        if (!receiveBlock(link, tModeDescriptor::Size, block))
            return false;
        received.ModeDescriptor[static_cast<std::size_t>(i)] = tModeDescriptor::fromBytes(block);
    }
    if (!receiveBlock(link, tSpecialActionDesc::Size, block))
        return false;
    received.SpecialActionDesc = tSpecialActionDesc::fromBytes(block);
    if (!receiveBlock(link, tAlarmSettings::Size, block))
        return false;
    received.AlarmSettings = tAlarmSettings::fromBytes(block);
    if (!receiveBlock(link, tAntiTremor::Size, block))
        return false;
    received.AntiTremor = tAntiTremor::fromBytes(block);

    received.ModeCount = n;
    params = received;
    return true;
}

bool WriteParameterBlocks(DeviceLink &link, const tParameterSet &params)
{
    const int modeCount = params.ModeCount;
    // Only a count the device can hold goes on the wire; anything else would
    // send records that do not exist.
    if (modeCount < 1 || modeCount > tParameterSet::MaxModes)
        return false;
    link.port().clearBuffers();
    QByteArray command = QByteArrayLiteral("*0");
    command.append(static_cast<char>(modeCount));
    link.WriteBytesToPort(command);
    DeviceLink::Delay_ms(50);

    for (int i = 0; i < modeCount; ++i) {
        if (!sendBlock(link, params.ModeDescriptor[static_cast<std::size_t>(i)].toBytes()))
            return false;
    }
    return sendBlock(link, params.SpecialActionDesc.toBytes())
        && sendBlock(link, params.AlarmSettings.toBytes()) && sendBlock(link, params.AntiTremor.toBytes());
}

ResetResult ResetDeviceParameters(DeviceLink &link)
{
    CommunicationGuard guard(link);
    if (!guard.acquired())
        return ResetResult::Busy;
    link.port().clearBuffers();
    link.WriteBytesToPort(QByteArrayLiteral("*R"));
    DeviceLink::Delay_ms(1000);
    return link.port().read(2) == QByteArrayLiteral("*R") ? ResetResult::Reset : ResetResult::NoAnswer;
}
