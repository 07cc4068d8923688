#include "update/dfuprogrammer.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>

QString DfuVersion::text() const
{
    return known ? QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(patch) : QString();
}

DfuVersion parseDfuVersion(const QString &output)
{
    static const QRegularExpression re(QStringLiteral("dfu-programmer\\s+(\\d+)\\.(\\d+)(?:\\.(\\d+))?"));
    const QRegularExpressionMatch m = re.match(output);
    DfuVersion v;
    if (!m.hasMatch())
        return v;
    bool ok1 = false;
    bool ok2 = false;
    v.major = m.captured(1).toInt(&ok1);
    v.minor = m.captured(2).toInt(&ok2);
    v.patch = m.captured(3).toInt();
    v.known = ok1 && ok2;
    return v;
}

QString findDfuProgrammer(const QString &firmwareFolder)
{
    const QFileInfo own(QDir(firmwareFolder).filePath(QStringLiteral("dfu-programmer")));
    if (own.isFile() && own.isExecutable())
        return own.absoluteFilePath();
    return QStandardPaths::findExecutable(QStringLiteral("dfu-programmer"));
}

QStringList dfuFlashArguments(const DfuVersion &version, const QString &firmwareFile)
{
    QStringList args { QLatin1String(DfuTarget), QStringLiteral("flash") };
    if (version.modern())
        args << QStringLiteral("--force");
    args << QStringLiteral("--suppress-bootloader-mem") << QStringLiteral("--suppress-validation")
         << firmwareFile;
    return args;
}

QStringList dfuEepromArguments(const DfuVersion &version, const QString &eepromFile)
{
    if (version.modern())
        return { QLatin1String(DfuTarget), QStringLiteral("flash"), QStringLiteral("--force"),
            QStringLiteral("--eeprom"), QStringLiteral("--suppress-validation"), eepromFile };
    return { QLatin1String(DfuTarget), QStringLiteral("flash-eeprom"),
        QStringLiteral("--suppress-validation"), eepromFile };
}

QStringList dfuLaunchArguments(const DfuVersion &version)
{
    if (version.modern())
        return { QLatin1String(DfuTarget), QStringLiteral("launch"), QStringLiteral("--no-reset") };
    return { QLatin1String(DfuTarget), QStringLiteral("start") };
}

bool dfuStepSucceeded(const DfuVersion &version, const DfuStepResult &result)
{
    if (!result.started || result.timedOut || result.exitStatus != QProcess::NormalExit
        || result.exitCode != 0)
        return false;
    return !version.modern() || result.output.contains(QStringLiteral(" Success"));
}

bool dfuLacksPermission(const DfuStepResult &result)
{
    // 0.6 reports a device it may not open only as "no device present."
    return result.output.contains(QStringLiteral("no device present"))
        || result.output.contains(QStringLiteral("LIBUSB_ERROR_ACCESS"))
        || result.output.contains(QStringLiteral("Access denied"), Qt::CaseInsensitive)
        || result.output.contains(QStringLiteral("Permission denied"), Qt::CaseInsensitive);
}
