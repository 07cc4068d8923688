#pragma once

#include "device/modaldialog.h"

#include <QString>

class AppConfig;
class DeviceSession;
class QCheckBox;
class QListWidget;
class QToolButton;

// Picks the firmware file to flash in the explicit mode ("Flash_Explicit"):
// the firmware folder's files for the device's variation, and whether the
// EEPROM image beside the file is written too ("Flash_EEPROM").
class TFormFirmwareFiles : public ModalDialog
{
    Q_OBJECT
public:
    TFormFirmwareFiles(DeviceSession &session, AppConfig &config, Prompt &prompt, QWidget *centreOn,
        QWidget *parent = nullptr);

    // The list's folder followed by the selected name; empty when nothing is
    // selected.
    QString selectedFile() const;

    QListWidget *FileListBox = nullptr;
    QCheckBox *CheckBox_eeprom = nullptr;
    QToolButton *SelectButton = nullptr;

public Q_SLOTS:
    void FileListBoxChange();
    void FileListBoxDblClick();
    void CheckBox_eepromClick();

protected:
    void FormShow() override;

private:
    bool selectedFileExists() const;

    DeviceSession &m_session;
    AppConfig &m_config;
    QString m_folder;
    QString m_mask;
};
