#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class DeviceLink;

// The PIN the device unlocks with: setting it removes the lock.
constexpr quint16 DisablePinValue = 9738;

// Decimal value of a PIN text; 0 when empty or not a number. Only the low
// 16 bits go to the device.
quint16 PinValue(const QString &text);
// Whether text is a usable new PIN: 1 to 4 digits.
bool IsValidPin(const QString &text);

// The two PIN bytes after a command letter: high byte, then low byte. They go
// on the wire as raw bytes, so every PIN reaches the device unchanged.
QByteArray PinBytes(quint16 value);

// "*X" + PIN: true exactly when the device answers "*X" and a non-zero byte.
bool CheckPINCode(DeviceLink &link, const QString &PINcodeStr);

// "*W" + PIN. A first PIN waits 50 ms before the acknowledgement is read; a
// changed PIN waits 50 ms after a good one. Returns whether "*OK" came back.
bool SendNewPin(DeviceLink &link, quint16 value, bool firstPin);
