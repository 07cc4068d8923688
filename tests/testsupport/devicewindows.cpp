#include "devicewindows.h"

#include "device/qtserialport.h"

#include <QComboBox>
#include <QDir>
#include <QFile>

DeviceWindows::DeviceWindows()
{
    const QString configPath = m_dir.filePath(QStringLiteral("Velotrix/Config.ini"));
    QDir().mkpath(m_dir.filePath(QStringLiteral("Velotrix")));
    QFile config(configPath);
    if (config.open(QIODevice::WriteOnly))
        config.write("[Application]\nLanguage=en\n");
    config.close();

    const QString path = emulator.portPath();
    m_windows = std::make_unique<AppWindows>(prompt,
        std::make_unique<TMainform>(prompt,
            TMainform::Setup { std::make_unique<QtSerialPort>(), configPath,
                [path] { return QStringList { path }; },
                { [] { return new FakeUsbEventSource; }, &enumerator } }));
}

DeviceWindows::~DeviceWindows()
{
    main().port().close();
}

void DeviceWindows::connect()
{
    main().ComComboBox1->setCurrentIndex(0);
    main().ComComboBox1Change();
    emulator.clearReceived();
}
