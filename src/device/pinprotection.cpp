#include "pinprotection.h"

#include "devicelink.h"

quint16 PinValue(const QString &text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok, 10);
    if (!ok)
        return 0;
    return static_cast<quint16>(static_cast<quint64>(value) & 0xFFFF);
}

bool IsValidPin(const QString &text)
{
    if (text.isEmpty() || text.size() > 4)
        return false;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

QByteArray PinBytes(quint16 value)
{
    QByteArray bytes;
    bytes.append(static_cast<char>(value >> 8));
    bytes.append(static_cast<char>(value & 0xFF));
    return bytes;
}

bool CheckPINCode(DeviceLink &link, const QString &PINcodeStr)
{
    const quint16 value = PinValue(PINcodeStr);
    link.port().clearBuffers();
    link.WriteBytesToPort(QByteArrayLiteral("*X") + PinBytes(value));
    DeviceLink::Delay_ms(500);
    if (link.port().read(2) != QByteArrayLiteral("*X"))
        return false;
    const QByteArray answer = link.port().read(1);
    return answer.size() == 1 && answer[0] != 0;
}

bool SendNewPin(DeviceLink &link, quint16 value, bool firstPin)
{
    link.WriteBytesToPort(QByteArrayLiteral("*W") + PinBytes(value));
    if (firstPin) {
        DeviceLink::Delay_ms(50);
        return link.ReadResult_OK();
    }
    const bool ok = link.ReadResult_OK();
    if (ok)
        DeviceLink::Delay_ms(50);
    return ok;
}
