#include "devicewindows.h"

#include "app/appwindows.h"
#include "services/messagedlg.h"
#include "device/modaldialog.h"
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

    TMainform::setDeviceDiscovery({ [] { return new FakeUsbEventSource; }, &enumerator });
    ModalDialog::startAnswering();
    const QString path = emulator.portPath();
    createAppWindows(std::make_unique<TMainform>(
        std::make_unique<QtSerialPort>(), configPath, [path] { return QStringList { path }; }));
}

DeviceWindows::~DeviceWindows()
{
    if (TMainform *w = appWindows().Mainform)
        w->port().close();
    destroyAppWindows();
    TMainform::setDeviceDiscovery({});
    ModalDialog::clearAnswers();
    MessageDlgResponder::clear();
}

TMainform &DeviceWindows::main()
{
    return *appWindows().Mainform;
}

void DeviceWindows::connect()
{
    main().ComComboBox1->setCurrentIndex(0);
    main().ComComboBox1Change();
    emulator.clearReceived();
}
