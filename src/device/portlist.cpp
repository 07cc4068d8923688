#include "portlist.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <QStandardPaths>
#include <algorithm>

QStringList sortPortNames(QStringList names)
{
    std::stable_sort(names.begin(), names.end(),
        [](const QString &a, const QString &b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    return names;
}

QString emulatorAnnouncementFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QStringLiteral("/velotrix-emulators");
}

QStringList announcedEmulatorPorts()
{
    QStringList ports;
    const QDir folder(emulatorAnnouncementFolder());
    const QStringList files = folder.entryList({QStringLiteral("*.port")}, QDir::Files);
    for (const QString &name : files) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        // Only a pseudo-terminal path is taken; an emulator that died without
        // tidying up leaves a path that no longer exists.
        const QString path = QString::fromLocal8Bit(file.readLine(256)).trimmed();
        if (path.startsWith(QLatin1String("/dev/pts/")) && QFileInfo::exists(path) && !ports.contains(path))
            ports.append(path);
    }
    return ports;
}

QStringList listAllSerialPorts()
{
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        names.append(info.portName());
    names += announcedEmulatorPorts();
    return sortPortNames(names);
}
