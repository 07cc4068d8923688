#pragma once

#include "device/modaldialog.h"
#include "update/dfurunner.h"
#include "update/tooloutput.h"

#include <QStringList>
#include <functional>

class AppConfig;
class DeviceSession;
class QLabel;
class QPlainTextEdit;
class QToolButton;
class TFormFirmwareFiles;

// Runs the device firmware update: the device restarts into the chip's USB
// bootloader on "*U", dfu-programmer writes the chosen file (and in the
// explicit mode the EEPROM image beside it), then starts the new firmware.
// The tool's output is shown live; the verdict is taken per step from the
// tool's exit status and, where it prints one, its success marker.
class TFormFirmwareUpdate : public ModalDialog
{
    Q_OBJECT
public:
    // firmwareFiles gives the file selection window, which is made after
    // this one.
    TFormFirmwareUpdate(DeviceSession &session, AppConfig &config, Prompt &prompt,
        std::function<TFormFirmwareFiles *()> firmwareFiles, QWidget *centreOn, QWidget *parent = nullptr);

    QToolButton *ProceedUpdateButton = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Filelabel = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QLabel *OKImage = nullptr;
    QLabel *FailImage = nullptr;
    QToolButton *CloseButton = nullptr;
    // Ends the wait for the bootloader.
    QToolButton *CancelButton = nullptr;

    // Set when the wait for the bootloader is to end; cleared at the start
    // of each update.
    bool StopUpdate = false;
    // Set when the chip's USB bootloader has been plugged in.
    bool Bootloader_Ready = false;
    // Names (without folder) of the firmware files for the device.
    QStringList FirmwareFiles;

    // How long the device may take to show its bootloader, and the pause
    // before the new firmware is started.
    int BootloaderTimeout_ms = 30000;
    int ResetPause_ms = 3000;
    // Runs the tool; its time limit per step can be set here.
    DfuRunner Runner;

    bool Flash_Explicit();
    bool Flash_EEPROM();

    // Outcome of the last update: true when every step that ran succeeded.
    bool lastUpdateSucceeded() const { return m_succeeded; }
    // The memo's lines as they were before the launch step cleared them.
    QStringList lastUpdateOutput() const { return m_lastOutput; }

    // The tool's output: a piece that starts a new line becomes a new line,
    // any other extends the last line.
    void JvCreateProcess1Read(const QString &text, bool startsOnNewLine);

public Q_SLOTS:
    void FormActivate();
    void ProceedUpdateButtonClick();
    void CancelButtonClick();

protected:
    void FormShow() override;
    bool event(QEvent *event) override;
    void reject() override;

private:
    void runUpdate();
    QString folder() const;
    int newUpdateIndex() const;
    // Shows a refusal in the memo and in a message box.
    void refuse(const QString &text);
    bool checkFile(const QString &path, std::uint32_t memorySize);
    bool waitForBootloader();
    // Runs one tool step; adds what went wrong to the memo.
    bool runStep(const QString &program, const QStringList &arguments);
    void waitKeepingUi(int ms);
    void showMemo();

    DeviceSession &m_session;
    AppConfig &m_config;
    std::function<TFormFirmwareFiles *()> m_firmwareFiles;
    MemoLines m_memo;
    DfuVersion m_version;
    QStringList m_lastOutput;
    QStringList m_problems;
    bool m_succeeded = false;
    bool m_busy = false;
};
