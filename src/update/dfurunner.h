#pragma once

#include "update/dfuprogrammer.h"
#include "update/tooloutput.h"

#include <QString>
#include <QStringList>
#include <functional>

// Runs the flashing tool without a shell, its stdout and stderr merged, and
// hands its output to onPiece as it arrives while the caller's window keeps
// handling events. A run that takes longer than timeoutMs is killed.
class DfuRunner
{
public:
    std::function<void(const OutputPiece &)> onPiece;
    int timeoutMs = 120000;

    DfuStepResult run(const QString &program, const QStringList &arguments, const QString &workingFolder);
    // Starts the tool and does not wait for it.
    bool startDetached(const QString &program, const QStringList &arguments, const QString &workingFolder);
    // Asks the tool for its version; a tool that does not answer within
    // timeoutMs counts as unknown.
    DfuVersion version(const QString &program);
};
