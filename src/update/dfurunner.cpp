#include "update/dfurunner.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <algorithm>

DfuStepResult DfuRunner::run(
    const QString &program, const QStringList &arguments, const QString &workingFolder)
{
    DfuStepResult result;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(workingFolder);
    ToolOutputSplitter splitter;
    QByteArray all;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::readyRead, &loop, [&] {
        const QByteArray bytes = process.readAll();
        all += bytes;
        for (const OutputPiece &piece : splitter.feed(bytes)) {
            if (onPiece)
                onPiece(piece);
        }
    });
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            loop.quit();
    });
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        result.timedOut = true;
        loop.quit();
    });

    process.start(program, arguments);
    if (!process.waitForStarted(10000)) {
        result.output = process.errorString();
        return result;
    }
    result.started = true;
    timer.start(timeoutMs);
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    if (result.timedOut) {
        process.kill();
        process.waitForFinished(5000);
    }
    // Output that was still buffered when the process ended.
    const QByteArray rest = process.readAll();
    if (!rest.isEmpty()) {
        all += rest;
        for (const OutputPiece &piece : splitter.feed(rest)) {
            if (onPiece)
                onPiece(piece);
        }
    }
    result.exitStatus = process.exitStatus();
    result.exitCode = process.exitCode();
    result.output = QString::fromLocal8Bit(all);
    return result;
}

bool DfuRunner::startDetached(
    const QString &program, const QStringList &arguments, const QString &workingFolder)
{
    return QProcess::startDetached(program, arguments, workingFolder);
}

DfuVersion DfuRunner::version(const QString &program)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, { QStringLiteral("--version") });
    if (!process.waitForStarted(10000))
        return {};
    // A short blocking wait: the tool answers at once or not at all.
    if (!process.waitForFinished(std::min(timeoutMs, 10000))) {
        process.kill();
        process.waitForFinished(2000);
        return {};
    }
    return parseDfuVersion(QString::fromLocal8Bit(process.readAll()));
}
