#include "velotrixemulator.h"

#include <array>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace {

const std::array<std::uint8_t, 256> &crcTable()
{
    static const std::array<std::uint8_t, 256> table = [] {
        std::array<std::uint8_t, 256> t {};
        for (int i = 0; i < 256; ++i) {
            unsigned c = static_cast<unsigned>(i);
            for (int bit = 0; bit < 8; ++bit)
                c = (c & 0x80u) ? ((c << 1) ^ 0x07u) : (c << 1);
            t[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(c & 0xFFu);
        }
        return t;
    }();
    return table;
}

void appendLe16(QByteArray &out, std::uint16_t value)
{
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>(value >> 8));
}

void putLe16(QByteArray &image, int offset, std::uint16_t value)
{
    image[offset] = static_cast<char>(value & 0xFF);
    image[offset + 1] = static_cast<char>(value >> 8);
}

std::uint8_t byteAt(const QByteArray &bytes, int index)
{
    return static_cast<std::uint8_t>(bytes.at(index));
}

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

std::runtime_error systemError(const char *what)
{
    return std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

} // namespace

std::uint8_t VelotrixEmulator::crc8(QByteArrayView data)
{
    std::uint8_t c = 0;
    for (char d : data)
        c = crcTable()[static_cast<std::uint8_t>(c ^ static_cast<std::uint8_t>(d))];
    return c;
}

QByteArray VelotrixEmulator::factoryParameters()
{
    QByteArray image(ParameterSize, '\0');
    // Standard mode: pushbutton on output 1, beep and a green LED on output
    // feedback; the other four mode slots stay zero.
    image[0] = 1; // pushbutton
    image[1] = 0; // output 1
    image[2] = 0; // feedback on output
    image[3] = 1; // beep
    image[4] = 1; // beep only on switching on
    image[5] = 5; // volume
    image[6] = 1; // LED used
    image[7] = static_cast<char>(255); // brightness
    putLe16(image, 12, 0x07E0); // green in RGB565
    putLe16(image, 15, 50);
    putLe16(image, 17, 50);
    putLe16(image, 19, 100);
    putLe16(image, 21, 5);
    putLe16(image, 23, 20);
    putLe16(image, 25, 20);

    const int s = SpecialActionOffset;
    image[s + 0] = 2; // no mode selection with a single mode
    image[s + 4] = 2; // pre-long-click signal, seconds
    putLe16(image, s + 5, 1500);
    putLe16(image, s + 7, 30);
    putLe16(image, s + 9, 30);

    const int a = AlarmOffset;
    putLe16(image, a + 0, 30);
    image[a + 2] = 3;
    image[a + 3] = 1;
    image[a + 4] = 1;
    image[a + 5] = static_cast<char>(255);
    putLe16(image, a + 10, 0xF800);
    image[a + 12] = 1;
    putLe16(image, a + 13, 100);
    return image;
}

VelotrixEmulator::VelotrixEmulator()
    : m_params(factoryParameters())
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0)
        throw systemError("posix_openpt");
    char name[128] = {};
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0 || ptsname_r(m_master, name, sizeof name) != 0) {
        const auto error = systemError("pseudo-terminal setup");
        ::close(m_master);
        throw error;
    }
    m_path = QString::fromLocal8Bit(name);

    // Our own slave descriptor keeps the line alive while the host closes and
    // reopens its side, and puts it into raw mode before the host sees it.
    m_slave = ::open(name, O_RDWR | O_NOCTTY);
    termios tio {};
    if (m_slave < 0 || tcgetattr(m_slave, &tio) != 0) {
        const auto error = systemError("open pseudo-terminal slave");
        if (m_slave >= 0)
            ::close(m_slave);
        ::close(m_master);
        throw error;
    }
    cfmakeraw(&tio);
    tcsetattr(m_slave, TCSANOW, &tio);

    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    if (pipe(m_wake) != 0) {
        const auto error = systemError("pipe");
        ::close(m_slave);
        ::close(m_master);
        throw error;
    }
    m_thread = std::thread([this] { serve(); });
}

VelotrixEmulator::~VelotrixEmulator()
{
    m_stop = true;
    const char b = 0;
    [[maybe_unused]] const auto ignored = ::write(m_wake[1], &b, 1);
    m_thread.join();
    if (m_master >= 0)
        ::close(m_master);
    if (m_slave >= 0)
        ::close(m_slave);
    ::close(m_wake[0]);
    ::close(m_wake[1]);
}

QString VelotrixEmulator::portPath() const
{
    return m_path;
}

void VelotrixEmulator::serve()
{
    using Clock = std::chrono::steady_clock;
    auto lastByte = Clock::now();
    char buffer[256];
    while (!m_stop) {
        int timeout = -1;
        int master;
        {
            std::lock_guard lock(m_mutex);
            if (m_hangUpRequested && !m_hungUp)
                closeLine();
            master = m_master;
            if (m_state != State::Idle || !m_pending.isEmpty()) {
                const auto idle
                    = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastByte).count();
                if (idle >= m_incompleteTimeoutMs) {
                    log(QStringLiteral("incomplete exchange dropped"));
                    resetExchange();
                } else {
                    timeout = static_cast<int>(m_incompleteTimeoutMs - idle);
                }
            }
        }
        pollfd fds[2] = { { m_wake[0], POLLIN, 0 }, { master, POLLIN, 0 } };
        const int n = poll(fds, master >= 0 ? 2 : 1, timeout);
        if (n < 0 && errno != EINTR)
            break;
        if (n <= 0)
            continue;
        if (fds[0].revents & POLLIN) {
            char drain[16];
            [[maybe_unused]] const auto ignored = ::read(m_wake[0], drain, sizeof drain);
            continue;
        }
        if (master < 0 || !(fds[1].revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got <= 0) {
            // Only when no slave descriptor is open, which our own prevents;
            // avoid a busy loop all the same.
            if (got < 0 && errno != EAGAIN && errno != EINTR)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            continue;
        }
        lastByte = Clock::now();
        std::lock_guard lock(m_mutex);
        for (ssize_t i = 0; i < got && !m_hungUp; ++i) {
            m_received.append(buffer[i]);
            if (!m_silent)
                feed(buffer[i]);
        }
    }
}

void VelotrixEmulator::feed(char byte)
{
    m_pending.append(byte);
    switch (m_state) {
    case State::Idle:
        handleIdle();
        break;
    case State::WriteBlocks:
        handleWriteBlock();
        break;
    case State::AwaitAck:
        handleAck();
        break;
    }
}

void VelotrixEmulator::handleIdle()
{
    while (!m_pending.isEmpty()) {
        if (m_pending.at(0) != '*') {
            m_pending.remove(0, 1);
            continue;
        }
        if (m_pending.size() < 2)
            return;
        const char command = m_pending.at(1);
        int length = 0;
        switch (command) {
        case 'V':
        case '1':
        case 'R':
        case 'P':
        case 'B':
        case 'U':
            length = 2;
            break;
        case '0':
            length = 3;
            break;
        case 'X':
        case 'W':
            length = 4;
            break;
        default:
            // Not a command: drop the '*' and look for the next one.
            m_pending.remove(0, 1);
            continue;
        }
        if (m_pending.size() < length)
            return;
        const QByteArray cmd = m_pending.left(length);
        m_pending.remove(0, length);
        log(length > 2 ? QStringLiteral("*%1 %2").arg(QChar::fromLatin1(command), hex(cmd.mid(2)))
                       : QStringLiteral("*%1").arg(QChar::fromLatin1(command)));
        startReply(command);
        if (m_hungUp)
            return;

        switch (command) {
        case 'V': {
            QByteArray reply("*V");
            reply.append(static_cast<char>(m_variation));
            appendLe16(reply, static_cast<std::uint16_t>(m_build));
            send(reply);
            break;
        }
        case '1': {
            const int modes = m_claimedModes >= 0 ? m_claimedModes : m_modeCount;
            QByteArray reply("*0");
            reply.append(static_cast<char>(modes));
            send(reply);
            m_blockIndex = 0;
            m_blockTotal = readBlockCount();
            sendReadBlock();
            break;
        }
        case '0':
            m_writeModes = byteAt(cmd, 2);
            m_modeCount = std::min(m_writeModes, MaxModes);
            m_blockIndex = 0;
            m_blockTotal = m_writeModes + 3;
            m_state = State::WriteBlocks;
            break;
        case 'R':
            m_params = factoryParameters();
            m_modeCount = FactoryModeCount;
            send(QByteArray("*R"));
            break;
        case 'P': {
            QByteArray reply("*P");
            reply.append(static_cast<char>(m_locked ? 1 : 0));
            send(reply);
            break;
        }
        case 'X': {
            const auto value = static_cast<std::uint16_t>(byteAt(cmd, 2) << 8 | byteAt(cmd, 3));
            QByteArray reply("*X");
            reply.append(static_cast<char>(value == m_pin ? 1 : 0));
            send(reply);
            break;
        }
        case 'W':
            m_pin = static_cast<std::uint16_t>(byteAt(cmd, 2) << 8 | byteAt(cmd, 3));
            m_locked = m_pin != UnlockPin;
            send(QByteArray("*OK"));
            break;
        case 'B': {
            QByteArray reply("*B");
            appendLe16(reply, m_battery);
            send(reply);
            break;
        }
        case 'U':
            m_bootloader = true;
            break;
        }
        // Bytes fed one at a time complete at most one command, so anything
        // left is the start of the next one (or of a write block).
        return;
    }
}

int VelotrixEmulator::writeBlockSize(int index) const
{
    if (index < m_writeModes)
        return ModeSize;
    static constexpr int tail[3] = { SpecialActionSize, AlarmSize, AntiTremorSize };
    return tail[index - m_writeModes];
}

void VelotrixEmulator::handleWriteBlock()
{
    const int size = writeBlockSize(m_blockIndex);
    if (m_pending.size() < size + 1)
        return;
    const QByteArray block = m_pending.left(size);
    const std::uint8_t crc = byteAt(m_pending, size);
    m_pending.clear();
    const int number = m_blockIndex + 1;
    const bool crcOk = crc8(block) == crc;
    const bool accept = crcOk && number != m_writeError;
    log(QStringLiteral("block %1/%2 (%3 bytes), CRC %4, answer %5")
            .arg(number)
            .arg(m_blockTotal)
            .arg(size)
            .arg(crcOk ? QStringLiteral("ok") : QStringLiteral("wrong"))
            .arg(accept ? QStringLiteral("*OK") : QStringLiteral("*ER")));
    if (!accept) {
        m_state = State::Idle;
        send(QByteArray("*ER"));
        return;
    }
    // A device stores each accepted block at once; a write that breaks off
    // leaves the blocks before it in place.
    const int i = m_blockIndex;
    if (i < m_writeModes) {
        if (i < MaxModes)
            m_params.replace(i * ModeSize, ModeSize, block);
    } else if (i == m_writeModes) {
        m_params.replace(SpecialActionOffset, SpecialActionSize, block);
    } else if (i == m_writeModes + 1) {
        m_params.replace(AlarmOffset, AlarmSize, block);
    } else {
        m_params.replace(AntiTremorOffset, AntiTremorSize, block);
    }
    ++m_blockIndex;
    if (m_blockIndex == m_blockTotal)
        m_state = State::Idle;
    send(QByteArray("*OK"));
}

int VelotrixEmulator::readBlockCount() const
{
    return (m_claimedModes >= 0 ? m_claimedModes : m_modeCount) + 3;
}

QByteArray VelotrixEmulator::readBlock(int index) const
{
    const int modes = readBlockCount() - 3;
    if (index < modes)
        return index < MaxModes ? m_params.mid(index * ModeSize, ModeSize) : QByteArray(ModeSize, '\0');
    if (index == modes)
        return m_params.mid(SpecialActionOffset, SpecialActionSize);
    if (index == modes + 1)
        return m_params.mid(AlarmOffset, AlarmSize);
    return m_params.mid(AntiTremorOffset, AntiTremorSize);
}

void VelotrixEmulator::sendReadBlock()
{
    QByteArray block = readBlock(m_blockIndex);
    std::uint8_t crc = crc8(block);
    if (m_blockIndex + 1 == m_badReadCrc)
        crc = static_cast<std::uint8_t>(crc ^ 0x5A);
    block.append(static_cast<char>(crc));
    m_state = State::AwaitAck;
    send(block);
}

void VelotrixEmulator::handleAck()
{
    const bool ackSoFar = m_pending.at(0) == '*'
        && (m_pending.size() < 2 || m_pending.at(1) == 'O' || m_pending.at(1) == 'E')
        && (m_pending.size() < 3 || m_pending == "*OK" || m_pending == "*ER");
    if (!ackSoFar) {
        // The host gave up on the read and sent something else: serve it as a
        // new command.
        log(QStringLiteral("parameter read abandoned"));
        const QByteArray rest = m_pending;
        m_pending.clear();
        m_state = State::Idle;
        for (char b : rest)
            feed(b);
        return;
    }
    if (m_pending.size() < 3)
        return;
    const bool ok = m_pending == "*OK";
    m_pending.clear();
    log(QStringLiteral("block %1/%2 answered %3")
            .arg(m_blockIndex + 1)
            .arg(m_blockTotal)
            .arg(ok ? QStringLiteral("*OK") : QStringLiteral("*ER")));
    if (!ok) {
        m_state = State::Idle;
        return;
    }
    ++m_blockIndex;
    if (m_blockIndex < m_blockTotal)
        sendReadBlock();
    else
        m_state = State::Idle;
}

void VelotrixEmulator::startReply(char command)
{
    m_replyCommand = command;
    m_replySent = 0;
    if (m_hangBytes == 0 && (m_hangCommand == 0 || m_hangCommand == command))
        closeLine();
}

void VelotrixEmulator::send(const QByteArray &bytes)
{
    if (m_hungUp)
        return;
    const auto matches = [this](char command) { return command == 0 || command == m_replyCommand; };
    QByteArray out;
    bool hangUp = false;
    qsizetype pauseAt = -1;
    for (char c : bytes) {
        if (m_pauseMs > 0 && matches(m_pauseCommand) && m_replySent == m_pauseBytes)
            pauseAt = out.size();
        if (m_hangBytes >= 0 && matches(m_hangCommand) && m_replySent >= m_hangBytes) {
            hangUp = true;
            break;
        }
        if (m_shortBytes >= 0 && matches(m_shortCommand) && m_replySent >= m_shortBytes)
            break;
        if (!m_header.isEmpty() && matches(m_headerCommand) && m_replySent < m_header.size())
            c = m_header.at(m_replySent);
        out.append(c);
        ++m_replySent;
    }

    if (pauseAt > 0) {
        // The part before the pause goes out on its own, then the line
        // stays quiet.
        const QByteArray head = out.left(pauseAt);
        out.remove(0, pauseAt);
        for (qsizetype done = 0; done < head.size();) {
            const ssize_t n
                = ::write(m_master, head.constData() + done, static_cast<std::size_t>(head.size() - done));
            if (n > 0) {
                m_sent.append(head.constData() + done, n);
                done += n;
            } else if (!(n < 0 && (errno == EINTR || errno == EAGAIN))) {
                break;
            }
        }
    }
    if (pauseAt >= 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(m_pauseMs));
    const char *data = out.constData();
    qsizetype left = out.size();
    while (left > 0) {
        const ssize_t n = ::write(m_master, data, static_cast<std::size_t>(left));
        if (n > 0) {
            m_sent.append(data, n);
            data += n;
            left -= n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            // The host is not reading; give up on the rest rather than block
            // the serving thread for good.
            pollfd pfd { m_master, POLLOUT, 0 };
            if (poll(&pfd, 1, 1000) > 0)
                continue;
        }
        break;
    }
    if (hangUp)
        closeLine();
}

void VelotrixEmulator::closeLine()
{
    if (m_hungUp)
        return;
    log(QStringLiteral("hanging up"));
    // Closing the master hangs up the slave: the host's reads and writes fail.
    ::close(m_master);
    ::close(m_slave);
    m_master = -1;
    m_slave = -1;
    m_hungUp = true;
    resetExchange();
}

void VelotrixEmulator::resetExchange()
{
    m_state = State::Idle;
    m_pending.clear();
}

void VelotrixEmulator::log(const QString &line)
{
    if (m_logger)
        m_logger(line);
}

void VelotrixEmulator::setVariation(std::uint8_t variation)
{
    std::lock_guard lock(m_mutex);
    m_variation = variation;
}

std::uint8_t VelotrixEmulator::variation() const
{
    std::lock_guard lock(m_mutex);
    return m_variation;
}

void VelotrixEmulator::setBuild(std::int16_t build)
{
    std::lock_guard lock(m_mutex);
    m_build = build;
}

std::int16_t VelotrixEmulator::build() const
{
    std::lock_guard lock(m_mutex);
    return m_build;
}

void VelotrixEmulator::setPin(std::uint16_t pin)
{
    std::lock_guard lock(m_mutex);
    m_pin = pin;
}

std::uint16_t VelotrixEmulator::pin() const
{
    std::lock_guard lock(m_mutex);
    return m_pin;
}

void VelotrixEmulator::setLocked(bool locked)
{
    std::lock_guard lock(m_mutex);
    m_locked = locked;
}

bool VelotrixEmulator::locked() const
{
    std::lock_guard lock(m_mutex);
    return m_locked;
}

void VelotrixEmulator::setBattery(std::uint16_t reading)
{
    std::lock_guard lock(m_mutex);
    m_battery = reading;
}

std::uint16_t VelotrixEmulator::battery() const
{
    std::lock_guard lock(m_mutex);
    return m_battery;
}

bool VelotrixEmulator::bootloaderRequested() const
{
    std::lock_guard lock(m_mutex);
    return m_bootloader;
}

void VelotrixEmulator::setParameters(const QByteArray &image)
{
    if (image.size() != ParameterSize)
        throw std::invalid_argument("parameter image must be 172 bytes");
    std::lock_guard lock(m_mutex);
    m_params = image;
}

QByteArray VelotrixEmulator::parameters() const
{
    std::lock_guard lock(m_mutex);
    return m_params;
}

void VelotrixEmulator::setModeCount(int count)
{
    if (count < 0 || count > MaxModes)
        throw std::invalid_argument("mode count must be 0 to 5");
    std::lock_guard lock(m_mutex);
    m_modeCount = count;
}

int VelotrixEmulator::modeCount() const
{
    std::lock_guard lock(m_mutex);
    return m_modeCount;
}

QByteArray VelotrixEmulator::modeBlock(int index) const
{
    if (index < 0 || index >= MaxModes)
        throw std::out_of_range("mode index must be 0 to 4");
    std::lock_guard lock(m_mutex);
    return m_params.mid(index * ModeSize, ModeSize);
}

QByteArray VelotrixEmulator::specialActionBlock() const
{
    std::lock_guard lock(m_mutex);
    return m_params.mid(SpecialActionOffset, SpecialActionSize);
}

QByteArray VelotrixEmulator::alarmBlock() const
{
    std::lock_guard lock(m_mutex);
    return m_params.mid(AlarmOffset, AlarmSize);
}

QByteArray VelotrixEmulator::antiTremorBlock() const
{
    std::lock_guard lock(m_mutex);
    return m_params.mid(AntiTremorOffset, AntiTremorSize);
}

QByteArray VelotrixEmulator::received() const
{
    std::lock_guard lock(m_mutex);
    return m_received;
}

void VelotrixEmulator::clearReceived()
{
    std::lock_guard lock(m_mutex);
    m_received.clear();
}

QByteArray VelotrixEmulator::sent() const
{
    std::lock_guard lock(m_mutex);
    return m_sent;
}

void VelotrixEmulator::clearSent()
{
    std::lock_guard lock(m_mutex);
    m_sent.clear();
}

void VelotrixEmulator::setSilent(bool silent)
{
    std::lock_guard lock(m_mutex);
    m_silent = silent;
    resetExchange();
}

void VelotrixEmulator::setShortReply(char command, int bytes)
{
    std::lock_guard lock(m_mutex);
    m_shortCommand = command;
    m_shortBytes = bytes;
}

void VelotrixEmulator::setWrongHeader(char command, const QByteArray &header)
{
    std::lock_guard lock(m_mutex);
    m_headerCommand = command;
    m_header = header;
}

void VelotrixEmulator::setBadReadCrc(int block)
{
    std::lock_guard lock(m_mutex);
    m_badReadCrc = block;
}

void VelotrixEmulator::setWriteError(int block)
{
    std::lock_guard lock(m_mutex);
    m_writeError = block;
}

void VelotrixEmulator::setClaimedModeCount(int count)
{
    if (count > 255)
        throw std::invalid_argument("mode count is one byte");
    std::lock_guard lock(m_mutex);
    m_claimedModes = count;
}

void VelotrixEmulator::setHangUp(char command, int afterBytes)
{
    std::lock_guard lock(m_mutex);
    m_hangCommand = command;
    m_hangBytes = afterBytes;
}

void VelotrixEmulator::setReplyPause(char command, int afterBytes, int ms)
{
    std::lock_guard lock(m_mutex);
    m_pauseCommand = command;
    m_pauseBytes = afterBytes;
    m_pauseMs = ms;
}

void VelotrixEmulator::clearFaults()
{
    std::lock_guard lock(m_mutex);
    m_pauseMs = 0;
    m_pauseBytes = -1;
    m_silent = false;
    m_shortCommand = 0;
    m_shortBytes = -1;
    m_headerCommand = 0;
    m_header.clear();
    m_badReadCrc = -1;
    m_writeError = -1;
    m_claimedModes = -1;
    m_hangCommand = 0;
    m_hangBytes = -1;
    resetExchange();
}

void VelotrixEmulator::hangUpNow()
{
    {
        std::lock_guard lock(m_mutex);
        m_hangUpRequested = true;
    }
    const char b = 0;
    [[maybe_unused]] const auto ignored = ::write(m_wake[1], &b, 1);
    // Return only once the line is down, so the caller's next port operation
    // sees the hang-up.
    while (!hungUp())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

bool VelotrixEmulator::hungUp() const
{
    std::lock_guard lock(m_mutex);
    return m_hungUp;
}

void VelotrixEmulator::setIncompleteTimeout(int ms)
{
    std::lock_guard lock(m_mutex);
    m_incompleteTimeoutMs = ms;
}

void VelotrixEmulator::setLogger(std::function<void(const QString &)> logger)
{
    std::lock_guard lock(m_mutex);
    m_logger = std::move(logger);
}
