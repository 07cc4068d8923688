#pragma once

#include "app/appwindows.h"
#include "app/mainform.h"
#include "device/qtserialport.h"
#include "faketool.h"
#include "fakeusb.h"
#include "scriptedprompt.h"
#include "setups/appconfig.h"
#include "setups/datapaths.h"
#include "update/firmwarefolder.h"
#include "update/formfirmwarefiles.h"
#include "update/formfirmwareupdate.h"
#include "velotrixemulator.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

// The program's windows around an emulated device, with a documents folder,
// a Config.ini and a firmware folder of the test's own. Once the device has
// received "*U", the fake hot-plug source reports the chip's bootloader
// arriving, as the system would when the device restarts into it.
class UpdateRig
{
public:
    UpdateRig(int variation = 3, int build = 10)
    {
        setDocumentsFolder(m_dir.filePath(QStringLiteral("Documents")));
        QDir().mkpath(m_dir.filePath(QStringLiteral("config")));
        const QString configPath = m_dir.filePath(QStringLiteral("config/Config.ini"));
        QFile config(configPath);
        if (config.open(QIODevice::WriteOnly))
            config.write("[Application]\nLanguage=en\n");
        config.close();
        emulator.setVariation(static_cast<std::uint8_t>(variation));
        emulator.setBuild(static_cast<std::int16_t>(build));

        const QString path = emulator.portPath();
        m_windows = std::make_unique<AppWindows>(prompt,
            std::make_unique<TMainform>(prompt,
                TMainform::Setup { std::make_unique<QtSerialPort>(), configPath,
                    [path] { return QStringList { path }; },
                    { [this] {
                         source = new FakeUsbEventSource;
                         return source;
                     },
                        &enumerator } }));
        main().ComComboBox1->setCurrentIndex(0);
        main().ComComboBox1Change();
        emulator.clearReceived();

        // Fast waits; the real lengths are the windows' defaults.
        update().ResetPause_ms = 50;
        m_bootloaderWatch.setInterval(20);
        QObject::connect(&m_bootloaderWatch, &QTimer::timeout, [this] {
            if (bootloaderAnswers && emulator.bootloaderRequested() && !m_bootloaderShown) {
                m_bootloaderShown = true;
                source->plugIn(QStringLiteral("/devices/pci0000:00/0000:00:14.0/usb1/1-4"), 0x03EB, 0x2FE4);
            }
        });
        m_bootloaderWatch.start();
    }

    ~UpdateRig()
    {
        main().port().close();
        setDocumentsFolder({});
    }

    UpdateRig(const UpdateRig &) = delete;
    UpdateRig &operator=(const UpdateRig &) = delete;

    TMainform &main() { return *m_windows->Mainform; }
    TFormFirmwareUpdate &update() { return *m_windows->FormFirmwareUpdate; }
    TFormFirmwareFiles &files() { return *m_windows->FormFirmwareFiles; }
    AppConfig &config() { return main().config(); }

    QString folder() const { return firmwareFolder(PersonalDatapath()); }
    QString log() const { return m_dir.filePath(QStringLiteral("tool.log")); }
    QStringList calls() const { return FakeTool::calls(log()); }

    // Writes a file into the firmware folder.
    void put(const QString &name, const QByteArray &content)
    {
        QDir().mkpath(folder());
        QFile file(folder() + name);
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
    }

    void installTool(const char *version, const char *mode)
    {
        QVERIFY(FakeTool::install(folder()));
        FakeTool::configure(version, mode, log());
    }

    ScriptedPrompt prompt;
    VelotrixEmulator emulator;
    FakeDeviceEnumerator enumerator;
    FakeUsbEventSource *source = nullptr;
    // Cleared, the device never shows its bootloader.
    bool bootloaderAnswers = true;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<AppWindows> m_windows;
    QTimer m_bootloaderWatch;
    bool m_bootloaderShown = false;
};

// A small valid firmware image: 32 bytes at 0, then the end record.
inline QByteArray validHex()
{
    return ":10000000000102030405060708090A0B0C0D0E0F78\r\n"
           ":10001000101112131415161718191A1B1C1D1E1F68\r\n"
           ":00000001FF\r\n";
}
