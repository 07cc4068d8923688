#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

// A Velotrix device on a pseudo-terminal. The host opens portPath() like the
// device's serial port; a thread of the emulator answers the device's command
// set from an in-memory parameter block. Tests configure the device state and
// inject faults, and read back every byte the host sent.
//
// The emulator works on raw bytes and keeps its own CRC, so that it shares no
// code (and no bug) with the configurator's records and channel.
class VelotrixEmulator
{
public:
    static constexpr int ModeSize = 28;
    static constexpr int SpecialActionSize = 11;
    static constexpr int AlarmSize = 17;
    static constexpr int AntiTremorSize = 4;
    static constexpr int MaxModes = 5;
    // Parameter image: 5 mode records, then special action, alarm and
    // anti-tremor, each at a fixed offset.
    static constexpr int SpecialActionOffset = MaxModes * ModeSize;
    static constexpr int AlarmOffset = SpecialActionOffset + SpecialActionSize;
    static constexpr int AntiTremorOffset = AlarmOffset + AlarmSize;
    static constexpr int ParameterSize = AntiTremorOffset + AntiTremorSize;
    // Writing this PIN with "*W" removes the lock.
    static constexpr std::uint16_t UnlockPin = 9738;
    // A command, a write block or an awaited acknowledgement that stays
    // incomplete this long is dropped, so a host that gave up mid-exchange
    // finds the device listening for commands again.
    static constexpr int DefaultIncompleteTimeoutMs = 1000;

    // Creates the pseudo-terminal and starts serving it. Throws
    // std::runtime_error when no pseudo-terminal can be created.
    VelotrixEmulator();
    ~VelotrixEmulator();

    VelotrixEmulator(const VelotrixEmulator &) = delete;
    VelotrixEmulator &operator=(const VelotrixEmulator &) = delete;

    // The slave side, e.g. /dev/pts/5.
    QString portPath() const;

    // Device identity and state.
    void setVariation(std::uint8_t variation);
    std::uint8_t variation() const;
    void setBuild(std::int16_t build);
    std::int16_t build() const;
    void setPin(std::uint16_t pin);
    std::uint16_t pin() const;
    void setLocked(bool locked);
    bool locked() const;
    void setBattery(std::uint16_t reading);
    std::uint16_t battery() const;
    bool bootloaderRequested() const;

    // Parameter block: ParameterSize bytes plus the mode count (0 to 5).
    void setParameters(const QByteArray &image);
    QByteArray parameters() const;
    void setModeCount(int count);
    int modeCount() const;
    QByteArray modeBlock(int index) const;
    QByteArray specialActionBlock() const;
    QByteArray alarmBlock() const;
    QByteArray antiTremorBlock() const;
    // What "*R" restores.
    static QByteArray factoryParameters();
    static constexpr int FactoryModeCount = 1;

    // Every byte the host has sent, in order.
    QByteArray received() const;
    void clearReceived();
    // Every byte the emulator has put on the line, in order.
    QByteArray sent() const;
    void clearSent();

    // Faults. A "reply" is everything the device sends in answer to one
    // command: for "*1" the header, the count and all blocks; for "*0" all
    // acknowledgements. Command letters are those after the "*" ('V', '1',
    // '0', 'P', ...); 0 means every command. Faults stay until cleared.
    void setSilent(bool silent);
    // Only the first `bytes` bytes of the reply are sent; -1 switches off.
    void setShortReply(char command, int bytes);
    // The reply begins with `header` instead of its own first bytes.
    void setWrongHeader(char command, const QByteArray &header);
    // Block `block` (1-based) of a parameter read carries a wrong CRC.
    void setBadReadCrc(int block);
    // Block `block` (1-based) of a parameter write is answered with "*ER".
    void setWriteError(int block);
    // The parameter read announces this mode count and sends as many mode
    // blocks (zero-filled beyond the held five); -1 switches off.
    void setClaimedModeCount(int count);
    // After `afterBytes` bytes of the reply the master side is closed, as if
    // the device were unplugged; afterwards the host's port fails.
    void setHangUp(char command, int afterBytes);
    // After `afterBytes` bytes of the reply the device pauses for `ms`
    // before it sends the rest; ms <= 0 switches off.
    void setReplyPause(char command, int afterBytes, int ms);
    void clearFaults();
    // Unplugs the device now.
    void hangUpNow();
    bool hungUp() const;

    void setIncompleteTimeout(int ms);

    // Called on the serving thread with a one-line description of each
    // command and block received; for the standalone program's trace.
    void setLogger(std::function<void(const QString &)> logger);

    // CRC-8, polynomial 0x07, initial 0, no reflection, no final XOR.
    static std::uint8_t crc8(QByteArrayView data);

private:
    enum class State { Idle, WriteBlocks, AwaitAck };

    void serve();
    void feed(char byte);
    void handleIdle();
    void handleWriteBlock();
    void handleAck();
    void startReply(char command);
    void send(const QByteArray &bytes);
    void sendReadBlock();
    void closeLine();
    void log(const QString &line);
    int writeBlockSize(int index) const;
    int readBlockCount() const;
    QByteArray readBlock(int index) const;
    void resetExchange();

    mutable std::mutex m_mutex;
    int m_master = -1;
    int m_slave = -1;
    int m_wake[2] = { -1, -1 };
    QString m_path;
    std::thread m_thread;
    std::atomic<bool> m_stop { false };
    bool m_hangUpRequested = false;

    std::uint8_t m_variation = 1;
    std::int16_t m_build = 8;
    std::uint16_t m_pin = UnlockPin;
    bool m_locked = false;
    std::uint16_t m_battery = 3900;
    bool m_bootloader = false;
    QByteArray m_params;
    int m_modeCount = FactoryModeCount;

    QByteArray m_received;
    QByteArray m_sent;

    bool m_silent = false;
    char m_shortCommand = 0;
    int m_shortBytes = -1;
    char m_headerCommand = 0;
    QByteArray m_header;
    int m_badReadCrc = -1;
    int m_writeError = -1;
    int m_claimedModes = -1;
    char m_hangCommand = 0;
    int m_hangBytes = -1;
    bool m_hungUp = false;
    char m_pauseCommand = 0;
    int m_pauseBytes = -1;
    int m_pauseMs = 0;
    int m_incompleteTimeoutMs = DefaultIncompleteTimeoutMs;
    std::function<void(const QString &)> m_logger;

    // Parser and exchange state, touched only under m_mutex.
    State m_state = State::Idle;
    QByteArray m_pending;
    char m_replyCommand = 0;
    int m_replySent = 0;
    int m_blockIndex = 0;
    int m_blockTotal = 0;
    int m_writeModes = 0;
};
