#include "formfirmwarefiles.h"

#include "device/devicesession.h"
#include "setups/appconfig.h"
#include "setups/datapaths.h"
#include "update/firmwarefolder.h"
#include "update/updateresources.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QListWidget>
#include <QToolButton>

namespace {

const QString kApplication = QStringLiteral("Application");
const QString kFlashEeprom = QStringLiteral("Flash_EEPROM");

} // namespace

TFormFirmwareFiles::TFormFirmwareFiles(
    DeviceSession &session, AppConfig &config, Prompt &prompt, QWidget *centreOn, QWidget *parent)
    : ModalDialog(prompt, centreOn, parent)
    , m_session(session)
    , m_config(config)
{
    initUpdateResources();
    m_centreOnEveryShow = false;
    setObjectName(QStringLiteral("FormFirmwareFiles"));
    // These captions stay English in every language.
    setWindowTitle(QStringLiteral("Select firmware"));
    setFixedSize(325, 243);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    setFont(font);

    FileListBox = new QListWidget(this);
    FileListBox->setObjectName(QStringLiteral("FileListBox"));
    FileListBox->setGeometry(28, 22, 271, 135);
    FileListBox->setSelectionMode(QAbstractItemView::SingleSelection);
    QFont listFont(QStringLiteral("Arial"));
    listFont.setPixelSize(13);
    FileListBox->setFont(listFont);
    connect(FileListBox, &QListWidget::itemSelectionChanged, this, &TFormFirmwareFiles::FileListBoxChange);
    connect(FileListBox, &QListWidget::itemDoubleClicked, this, &TFormFirmwareFiles::FileListBoxDblClick);

    CheckBox_eeprom = new QCheckBox(QStringLiteral("Overwrite EEPROM "), this);
    CheckBox_eeprom->setObjectName(QStringLiteral("CheckBox_eeprom"));
    CheckBox_eeprom->setGeometry(32, 178, 155, 17);
    // clicked, not toggled: setting the state from code writes nothing.
    connect(CheckBox_eeprom, &QCheckBox::clicked, this, &TFormFirmwareFiles::CheckBox_eepromClick);

    SelectButton = new QToolButton(this);
    SelectButton->setObjectName(QStringLiteral("SelectButton"));
    SelectButton->setText(QStringLiteral("&Select"));
    SelectButton->setIcon(updatePicture(QStringLiteral("select.svg"), QSize(32, 32)));
    SelectButton->setIconSize(QSize(32, 32));
    SelectButton->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    SelectButton->setGeometry(222, 174, 77, 53);
    SelectButton->setEnabled(false);
    connect(SelectButton, &QToolButton::clicked, this, &QDialog::accept);
}

void TFormFirmwareFiles::FormShow()
{
    CheckBox_eeprom->setChecked(m_config.readBool(kApplication, kFlashEeprom, false));
    const QString folder = firmwareFolder(PersonalDatapath());
    const QString mask = firmwareMask(m_session.versionVariation());
    if (folder == m_folder && mask == m_mask)
        return;
    m_folder = folder;
    m_mask = mask;
    QStringList names;
    GetFilenames(m_folder, m_mask, names);
    const QSignalBlocker block(FileListBox);
    FileListBox->clear();
    FileListBox->addItems(names);
    FileListBox->setCurrentRow(-1);
    FileListBox->clearSelection();
    FileListBoxChange();
}

QString TFormFirmwareFiles::selectedFile() const
{
    const QList<QListWidgetItem *> items = FileListBox->selectedItems();
    if (items.isEmpty())
        return {};
    return m_folder + items.first()->text();
}

bool TFormFirmwareFiles::selectedFileExists() const
{
    const QString path = selectedFile();
    return !path.isEmpty() && QFileInfo(path).isFile();
}

void TFormFirmwareFiles::FileListBoxChange()
{
    SelectButton->setEnabled(selectedFileExists());
}

void TFormFirmwareFiles::FileListBoxDblClick()
{
    if (selectedFileExists())
        accept();
}

void TFormFirmwareFiles::CheckBox_eepromClick()
{
    m_config.writeBool(kApplication, kFlashEeprom, CheckBox_eeprom->isChecked());
}
