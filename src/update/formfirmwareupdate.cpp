#include "formfirmwareupdate.h"

#include "device/devicesession.h"
#include "services/translation.h"
#include "services/windowtranslator.h"
#include "setups/appconfig.h"
#include "setups/datapaths.h"
#include "update/firmwarefolder.h"
#include "update/formfirmwarefiles.h"
#include "update/intelhex.h"
#include "update/updateresources.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QThread>
#include <QToolButton>

namespace {

const QString kApplication = QStringLiteral("Application");

QToolButton *pictureButton(
    QWidget *parent, const char *name, const QString &text, const QString &picture, const QRect &geometry)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setIcon(updatePicture(picture, QSize(32, 32)));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setGeometry(geometry);
    return button;
}

QLabel *picture(QWidget *parent, const char *name, const QString &file, const QPoint &at)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setPixmap(updatePicture(file, QSize(143, 131)));
    label->setGeometry(QRect(at, QSize(143, 131)));
    label->hide();
    return label;
}

// Re-enables the buttons and ends the busy state on every way out.
class UpdateScope
{
public:
    UpdateScope(bool &busy, QToolButton *close, QToolButton *proceed, QToolButton *cancel)
        : m_busy(busy)
        , m_close(close)
        , m_proceed(proceed)
        , m_cancel(cancel)
    {
        m_busy = true;
        m_close->setEnabled(false);
        m_proceed->setEnabled(false);
    }
    ~UpdateScope()
    {
        m_cancel->hide();
        m_close->setEnabled(true);
        m_proceed->setEnabled(true);
        m_busy = false;
    }
    UpdateScope(const UpdateScope &) = delete;
    UpdateScope &operator=(const UpdateScope &) = delete;

private:
    bool &m_busy;
    QToolButton *m_close;
    QToolButton *m_proceed;
    QToolButton *m_cancel;
};

} // namespace

TFormFirmwareUpdate::TFormFirmwareUpdate(DeviceSession &session, AppConfig &config, Prompt &prompt,
    std::function<TFormFirmwareFiles *()> firmwareFiles, QWidget *centreOn, QWidget *parent)
    : ModalDialog(prompt, centreOn, parent)
    , m_session(session)
    , m_config(config)
    , m_firmwareFiles(std::move(firmwareFiles))
{
    initUpdateResources();
    m_centreOnEveryShow = false;
    setObjectName(QStringLiteral("FormFirmwareUpdate"));
    setWindowTitle(N_("Update Firmware"));
    setFixedSize(498, 285);

    ProceedUpdateButton = pictureButton(this, "ProceedUpdateButton", N_("Update Firmware"),
        QStringLiteral("chip.svg"), QRect(14, 20, 125, 78));
    connect(ProceedUpdateButton, &QToolButton::clicked, this, &TFormFirmwareUpdate::ProceedUpdateButtonClick);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(146, 20, 323, 50);
    Label1->setWordWrap(true);
    QFont warning(QStringLiteral("Tahoma"));
    warning.setPixelSize(13);
    warning.setBold(true);
    Label1->setFont(warning);
    Label1->setStyleSheet(QStringLiteral("color: #c00000;"));

    Filelabel = new QLabel(this);
    Filelabel->setObjectName(QStringLiteral("Filelabel"));
    Filelabel->setGeometry(146, 87, 325, 16);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(146, 106, 325, 113);
    Memo1->setReadOnly(true);
    // Messages wrap; the tool's progress lines are short enough for one line.
    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont mono(QStringLiteral("Courier New"));
    mono.setStyleHint(QFont::Monospace);
    mono.setPointSize(8);
    Memo1->setFont(mono);

    OKImage = picture(this, "OKImage", QStringLiteral("ok.svg"), QPoint(225, 43));
    FailImage = picture(this, "FailImage", QStringLiteral("fail.svg"), QPoint(227, 45));

    CloseButton = pictureButton(
        this, "CloseButton", N_("&Schließen"), QStringLiteral("close.svg"), QRect(394, 225, 77, 53));
    connect(CloseButton, &QToolButton::clicked, this, &QDialog::reject);

    CancelButton = pictureButton(
        this, "CancelButton", N_("Cancel"), QStringLiteral("fail.svg"), QRect(310, 225, 77, 53));
    CancelButton->hide();
    connect(CancelButton, &QToolButton::clicked, this, &TFormFirmwareUpdate::CancelButtonClick);

    Runner.onPiece = [this](const OutputPiece &piece) {
        if (piece.kind == OutputPiece::Replace) {
            m_memo.apply(piece);
            showMemo();
        } else {
            JvCreateProcess1Read(piece.text, piece.kind == OutputPiece::NewLine);
        }
    };

    TranslateComponent(this);
}

bool TFormFirmwareUpdate::Flash_Explicit()
{
    return m_config.readBool(kApplication, QStringLiteral("Flash_Explicit"), false);
}

bool TFormFirmwareUpdate::Flash_EEPROM()
{
    return m_config.readBool(kApplication, QStringLiteral("Flash_EEPROM"), false);
}

QString TFormFirmwareUpdate::folder() const
{
    return firmwareFolder(PersonalDatapath());
}

int TFormFirmwareUpdate::newUpdateIndex() const
{
    return FindNewUpdate(FirmwareFiles, m_session.versionBuild());
}

void TFormFirmwareUpdate::showMemo()
{
    Memo1->setPlainText(m_memo.text());
    Memo1->verticalScrollBar()->setValue(Memo1->verticalScrollBar()->maximum());
}

void TFormFirmwareUpdate::JvCreateProcess1Read(const QString &text, bool startsOnNewLine)
{
    m_memo.apply({ text, startsOnNewLine ? OutputPiece::NewLine : OutputPiece::Continue });
    showMemo();
}

void TFormFirmwareUpdate::FormShow()
{
    m_memo.clear();
    showMemo();
    Memo1->show();
    OKImage->hide();
    FailImage->hide();
    // The message id keeps the program's own line break.
    Label1->setText(
        tx("Attention!\r\nPlease wait until the process is completed. Do not disconnect the device.")
            .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    GetFilenames(folder(), firmwareMask(m_session.versionVariation()), FirmwareFiles);
    const bool explicitMode = Flash_Explicit();
    ProceedUpdateButton->setEnabled(explicitMode || newUpdateIndex() >= 0);
    if (explicitMode) {
        if (TFormFirmwareFiles *files = m_firmwareFiles ? m_firmwareFiles() : nullptr)
            files->ShowModal();
    }
    FormActivate();
}

void TFormFirmwareUpdate::FormActivate()
{
    if (Flash_Explicit()) {
        TFormFirmwareFiles *files = m_firmwareFiles ? m_firmwareFiles() : nullptr;
        const QString path = files ? files->selectedFile() : QString();
        Filelabel->setText(path.isEmpty() ? QString() : QFileInfo(path).fileName());
        return;
    }
    const int index = newUpdateIndex();
    if (index >= 0)
        Filelabel->setText(FirmwareFiles[index]);
}

bool TFormFirmwareUpdate::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && !m_busy)
        FormActivate();
    return ModalDialog::event(event);
}

void TFormFirmwareUpdate::reject()
{
    // The window stays open while the device is being updated.
    if (!m_busy)
        ModalDialog::reject();
}

void TFormFirmwareUpdate::CancelButtonClick()
{
    StopUpdate = true;
}

void TFormFirmwareUpdate::refuse(const QString &text)
{
    m_memo.addLine(text);
    showMemo();
    prompt().MessageDlgCentered(text, mtError, mbOK);
}

bool TFormFirmwareUpdate::checkFile(const QString &path, std::uint32_t memorySize)
{
    const HexCheck check = checkIntelHexFile(path, memorySize);
    if (check.ok)
        return true;
    QString reason = tx(check.fault);
    if (check.line > 0)
        reason += QLatin1Char(' ') + tx("(line %1)").arg(check.line);
    refuse(tx("The file %1 is no usable firmware file and was not written: %2")
               .arg(QFileInfo(path).fileName(), reason));
    return false;
}

void TFormFirmwareUpdate::waitKeepingUi(int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(
            static_cast<unsigned long>(std::min<qint64>(10, std::max<qint64>(0, ms - timer.elapsed()))));
    }
    QCoreApplication::processEvents();
}

void TFormFirmwareUpdate::ProceedUpdateButtonClick()
{
    UpdateScope scope(m_busy, CloseButton, ProceedUpdateButton, CancelButton);
    runUpdate();
}
