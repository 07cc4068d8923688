#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTest>

// Puts the test's own dfu-programmer into a firmware folder, where the
// program looks for a user's copy first, and points its behaviour and its
// call log at the test through its environment.
struct FakeTool
{
    static bool install(const QString &firmwareFolder)
    {
        const QString source = QFINDTESTDATA("fake-dfu-programmer");
        const QString target = QDir(firmwareFolder).filePath(QStringLiteral("dfu-programmer"));
        QDir().mkpath(firmwareFolder);
        QFile::remove(target);
        return !source.isEmpty() && QFile::copy(source, target)
            && QFile::setPermissions(target,
                QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup);
    }

    static void configure(const char *version, const char *mode, const QString &log)
    {
        qputenv("FAKE_DFU_VERSION", version);
        qputenv("FAKE_DFU_MODE", mode);
        qputenv("FAKE_DFU_LOG", log.toLocal8Bit());
    }

    // The calls logged so far, one line of arguments each.
    static QStringList calls(const QString &log)
    {
        QFile file(log);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromLocal8Bit(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
};
