// The update itself: checks before the device is touched, the wait for the
// bootloader, the tool's steps and their verdict.
#include "device/devicesession.h"
#include "services/translation.h"
#include "update/firmwarefolder.h"
#include "update/formfirmwarefiles.h"
#include "update/formfirmwareupdate.h"
#include "update/intelhex.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>

void TFormFirmwareUpdate::runUpdate()
{
    const bool explicitMode = Flash_Explicit();
    QString firmware;
    if (explicitMode) {
        TFormFirmwareFiles *files = m_firmwareFiles ? m_firmwareFiles() : nullptr;
        firmware = files ? files->selectedFile() : QString();
        if (firmware.isEmpty()) {
            refuse(tx("Please select a firmware file first."));
            return;
        }
    } else {
        const int index = newUpdateIndex();
        if (index < 0)
            return;
        firmware = folder() + FirmwareFiles[index];
    }
    const QString eeprom = eepromPathOf(firmware);
    const bool writeEeprom = explicitMode && Flash_EEPROM() && QFileInfo(eeprom).isFile();

    // Everything that can be known before the device restarts is checked
    // first, so that it is never left in its bootloader for nothing.
    OKImage->hide();
    FailImage->hide();
    m_memo.clear();
    m_problems.clear();
    m_lastOutput.clear();
    m_succeeded = false;
    Memo1->show();
    showMemo();
    if (!checkFile(firmware, ApplicationFlashSize) || (writeEeprom && !checkFile(eeprom, EepromSize)))
        return;
    const QString program = findDfuProgrammer(folder());
    if (program.isEmpty()) {
        refuse(tx("dfu-programmer was not found. Please install it."));
        return;
    }
    m_version = Runner.version(program);

    StopUpdate = false;
    Bootloader_Ready = false;
    m_memo.clear();
    showMemo();
    m_memo.addLine(tx("Waiting for device ."));
    showMemo();
    m_session.link().WriteBytesToPort(QByteArrayLiteral("*U"));
    if (!waitForBootloader())
        return;

    m_memo.addLine(tx("Writing ROM."));
    showMemo();
    bool ok = runStep(program, dfuFlashArguments(m_version, firmware));
    // EEPROM data written over a firmware that failed would only add to the
    // damage; the step runs after a good flash only.
    if (ok && writeEeprom) {
        m_memo.addLine(tx("Writing EEPROM."));
        showMemo();
        ok = runStep(program, dfuEepromArguments(m_version, eeprom));
    }
    m_succeeded = ok;

    m_memo.addLine(tx("Reset...."));
    showMemo();
    waitKeepingUi(ResetPause_ms);
    m_lastOutput = m_memo.lines();
    m_memo.clear();
    showMemo();
    Runner.startDetached(program, dfuLaunchArguments(m_version), folder());

    Memo1->hide();
    (m_succeeded ? OKImage : FailImage)->show();
    update();
    if (!m_succeeded) {
        // The memo is gone with the picture; the reason stays readable here.
        QString text = tx("The firmware update failed.");
        for (const QString &problem : std::as_const(m_problems))
            text += QStringLiteral("\n\n") + problem;
        prompt().MessageDlgCentered(text, mtError, mbOK);
    }
}

bool TFormFirmwareUpdate::waitForBootloader()
{
    CancelButton->show();
    QElapsedTimer waited;
    waited.start();
    while (!Bootloader_Ready) {
        waitKeepingUi(100);
        m_memo.appendTo(0, QStringLiteral("."));
        showMemo();
        if (StopUpdate) {
            m_memo.addLine(tx("The update was cancelled."));
            showMemo();
            return false;
        }
        if (!Bootloader_Ready && waited.elapsed() >= BootloaderTimeout_ms) {
            refuse(
                tx("The device did not start its bootloader. Please unplug it, plug it in again and retry."));
            return false;
        }
    }
    CancelButton->hide();
    return true;
}

bool TFormFirmwareUpdate::runStep(const QString &program, const QStringList &arguments)
{
    const DfuStepResult result = Runner.run(program, arguments, folder());
    if (dfuStepSucceeded(m_version, result))
        return true;
    QString problem;
    if (!result.started)
        problem = tx("dfu-programmer could not be started: %1").arg(result.output);
    else if (result.timedOut)
        problem = tx("dfu-programmer did not finish in time and was stopped.");
    else if (dfuLacksPermission(result))
        problem = tx("The bootloader could not be opened, most likely for lack of permission. Install the "
                     "udev rule 70-velotrix.rules as the README describes, unplug the device and retry.");
    else
        problem = tx("dfu-programmer reported an error.");
    m_problems.append(problem);
    m_memo.addLine(problem);
    showMemo();
    return false;
}
