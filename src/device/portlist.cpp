#include "portlist.h"

#include <QSerialPortInfo>
#include <algorithm>

QStringList sortPortNames(QStringList names)
{
    std::stable_sort(names.begin(), names.end(),
        [](const QString &a, const QString &b) { return QString::compare(a, b, Qt::CaseInsensitive) < 0; });
    return names;
}

QStringList listAllSerialPorts()
{
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        names.append(info.portName());
    return sortPortNames(names);
}
