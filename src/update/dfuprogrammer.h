#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The flashing tool dfu-programmer and the two command-line dialects it has
// had: up to 0.6 ("flash-eeprom", "start", no --force, no success marker)
// and from 0.7 on ("flash --eeprom", "launch", --force, " Success" printed
// after each verified phase).
struct DfuVersion
{
    int major = 0;
    int minor = 0;
    int patch = 0;
    bool known = false;

    // 0.7 and later; an unknown version is taken as current.
    bool modern() const { return !known || major > 0 || minor >= 7; }
    QString text() const;
};

// The version from "dfu-programmer --version" output ("dfu-programmer
// 0.6.1"); 0.6.1 prints it on stderr and exits with 1, later ones exit
// with 0, so the text decides, not the exit code.
DfuVersion parseDfuVersion(const QString &output);

// The program file "dfu-programmer" in the firmware folder when it is there
// and executable, otherwise the one on the PATH; empty when there is none.
QString findDfuProgrammer(const QString &firmwareFolder);

inline constexpr char DfuTarget[] = "atxmega32a4u";

QStringList dfuFlashArguments(const DfuVersion &version, const QString &firmwareFile);
QStringList dfuEepromArguments(const DfuVersion &version, const QString &eepromFile);
QStringList dfuLaunchArguments(const DfuVersion &version);

// How one run of the tool ended, as the update judges it.
struct DfuStepResult
{
    bool started = false;
    bool timedOut = false;
    QProcess::ExitStatus exitStatus = QProcess::NormalExit;
    int exitCode = -1;
    // Everything it printed on stdout and stderr.
    QString output;
};

// A step succeeded when the tool started, ended by itself with status 0
// and, for the versions that print it, reported " Success" (with its
// leading space). 0.6 prints no marker: its exit status is the verdict.
bool dfuStepSucceeded(const DfuVersion &version, const DfuStepResult &result);

// The tool found no bootloader although it had arrived on the bus, or said
// outright that access was denied: most likely the user may not open it.
bool dfuLacksPermission(const DfuStepResult &result);
