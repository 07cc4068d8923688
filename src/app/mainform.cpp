#include "mainform.h"

#include "app/appwindows.h"
#include "app/comled.h"
#include "device/formadvanced.h"
#include "editor/editor.h"
#include "device/portlist.h"
#include "device/qtserialport.h"
#include "services/guard.h"
#include "services/messagedlg.h"
#include "services/translation.h"
#include "services/windowtranslator.h"
#include "setups/appconfig.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>


TMainform::TMainform(Prompt &prompt, Setup setup, QWidget *parent)
    : QMainWindow(parent)
    , m_prompt(prompt)
    , m_session(std::make_unique<DeviceSession>(
          setup.port ? std::move(setup.port) : std::make_unique<QtSerialPort>(), *this))
    , Params(m_session->Params)
    , m_systemPorts(!setup.listPorts && !setup.discovery.enumerator)
    , m_listPorts(
          setup.listPorts ? std::move(setup.listPorts) : PortLister([] { return listAllSerialPorts(); }))
    , m_discovery(std::move(setup.discovery))
{
    setObjectName(QStringLiteral("Mainform"));

    // The window's own handlers wrap the link's so the lamp follows the port.
    port().afterOpen = [this] { ComPortAfterOpen(); };
    port().afterClose = [this] { ComPortAfterClose(); };
    m_session->setPinRequest([this](QString &pin) { return askForPin(pin); });

    m_config = std::make_unique<AppConfig>(
        setup.configPath.isEmpty() ? AppConfig::defaultPath() : setup.configPath);

    createActions();
    buildUi();

    // The chooser lists every serial port before the creation sequence runs.
    ComComboBox1->addItems(listPortsBeforeStart());

    StartupTimer = new QTimer(this);
    StartupTimer->setObjectName(QStringLiteral("StartupTimer"));
    StartupTimer->setSingleShot(true);
    StartupTimer->setInterval(2000);
    connect(StartupTimer, &QTimer::timeout, this, &TMainform::StartupTimerTimer);

    // Enabling follows the device state whenever the event loop goes idle,
    // including the nested loops of modal dialogs.
    if (auto *dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TMainform::ActionList1Update);

    connectLanguageAndHelp();

    FormCreate();
}

TMainform::TMainform(Prompt &prompt, QWidget *parent)
    : TMainform(prompt, Setup {}, parent)
{
}

TMainform::~TMainform()
{
    // A port closed while the window is torn down must not reach its widgets.
    port().afterOpen = nullptr;
    port().afterClose = nullptr;
}

void TMainform::buildUi()
{
    setWindowTitle(N_("Velotrix Config"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
        | Qt::WindowCloseButtonHint);

    // Tahoma is not to be had everywhere; take the nearest legible sans face
    // at the desktop's own size.
    QFont f = font();
    f.setFamilies({ QStringLiteral("Tahoma"), QStringLiteral("Segoe UI"), QStringLiteral("DejaVu Sans"),
        QStringLiteral("Noto Sans"), QStringLiteral("Liberation Sans") });
    f.setStyleHint(QFont::SansSerif);
    setFont(f);

    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setAutoFillBackground(true);

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("MainPanel"));
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildRibbon(central));

    auto *body = new QWidget(central);
    auto *bodyLayout = new QVBoxLayout(body);
    bodyLayout->setContentsMargins(8, 6, 8, 6);
    bodyLayout->setSpacing(4);

    // At the design size the editor fits; a window made smaller scrolls it
    // instead of cutting controls off.
    auto *editorArea = new QScrollArea(body);
    editorArea->setObjectName(QStringLiteral("EditorArea"));
    editorArea->setFrameShape(QFrame::NoFrame);
    editorArea->setWidgetResizable(true);
    editorArea->setFocusPolicy(Qt::NoFocus); // Tab goes into the editor, not onto the scroll area

    // The global settings on the left, the mode pages on the right. The
    // editor is made in its final place: moving the finished editor there
    // would style all of its controls a second time.
    Editor = new TEditor(
        m_prompt, [this](const QString &html) { showHelpText(html); }, editorArea->viewport());
    Editor->setObjectName(QStringLiteral("Editor"));
    GlobalPager = Editor->GlobalSettings;
    ModePager = Editor->Pager;
    editorArea->setWidget(Editor);

    PngBitBtn1 = new QToolButton(body);
    PngBitBtn1->setObjectName(QStringLiteral("PngBitBtn1"));
    PngBitBtn1->setDefaultAction(ActionSaveSetupWindow);
    PngBitBtn1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    PngBitBtn1->setIconSize(QSize(24, 24));

    bodyLayout->addWidget(editorArea, 1);
    bodyLayout->addWidget(PngBitBtn1, 0, Qt::AlignRight);
    layout->addWidget(body, 1);

    setCentralWidget(central);
    resize(898, 621);
}

void TMainform::FormCreate()
{
    acttag = 0;
    // LED palette, insert button, Multi mode and alarm, "Push button " on
    // the standard page and the transparent-click rule.
    Editor->FormCreateSteps();

    // The setup dialogs do not exist yet: this only lists the setup folder.
    LoadSetups();

    CreateUSBComponent();

    // The port chooser keeps its port names in every language. (Fonts are no
    // objects here, so nothing else needs excluding.)
    ignoreForNextTranslation(this, QStringLiteral("ComComboBox1"));
    QString code = m_config->readString(QStringLiteral("Application"), QStringLiteral("Language"));
    if (code.isEmpty())
        code = QStringLiteral("de");
    SwitchLanguage(code, true);

    RibbonCaption->setText(N_("Velotrix® Configurator") + QStringLiteral(" (")
        + QStringLiteral(VELOTRIX_VERSION) + QStringLiteral(")"));

    // Selecting from code runs no handler: the chooser reacts to activated().
    if (ComComboBox1->count() > 0)
        ComComboBox1->setCurrentIndex(0);
    // With a device attached, the chooser lists its ports and the first one
    // is opened.
    SelectDevicePortAtStart();

    // Without a stored placement the window sits in the screen's top-left
    // corner.
    if (QScreen *s = screen())
        move(s->availableGeometry().topLeft());

    StartupTimer->start();
}

void TMainform::StartupTimerTimer()
{
    StartupTimer->stop();
}

void TMainform::setVersionLabel(const QString &text)
{
    VersionLabel->setText(text);
}

void TMainform::setPinLabelVisible(bool visible)
{
    Label_PINProtected->setVisible(visible);
}

MsgDlgResult TMainform::MessageDlgCentered(const QString &text, MsgDlgKind kind, MsgDlgButtons buttons)
{
    return m_prompt.MessageDlgCentered(text, kind, buttons);
}

bool TMainform::deviceActionsAllowed()
{
    return m_session->deviceActionsAllowed();
}

bool TMainform::firmwareActionsAllowed()
{
    if (!port().isOpen())
        return false;
    return m_session->versionBuild() >= 8
        || m_config->readBool(QStringLiteral("Application"), QStringLiteral("Flash_Explicit"), false);
}

void TMainform::ActionList1Update()
{
    const bool a = deviceActionsAllowed();
    Action_BatteryFuelGauge->setEnabled(a);
    Action_Writetovelotrix->setEnabled(a);
    Action_ReadFromVelotrix->setEnabled(a);
    Action_ResetParameter->setEnabled(a);

    const bool b = firmwareActionsAllowed();
    Action_FirmwareUpdate->setEnabled(b);
    Action_AdvancedSettings->setEnabled(b);
}

void TMainform::updateLed()
{
    ComLed1->setLit(port().isOpen());
}

void TMainform::ComPortAfterOpen()
{
    ComLed1->setLit(true);
    // The handshake may close the port again; the lamp shows the outcome,
    // also when the handshake's PIN query throws.
    struct LedSync
    {
        TMainform *w;
        ~LedSync() { w->updateLed(); }
    } sync { this };
    link()->ComPortAfterOpen();
}

void TMainform::ComPortAfterClose()
{
    ComLed1->setLit(false);
    struct LedSync
    {
        TMainform *w;
        ~LedSync() { w->updateLed(); }
    } sync { this };
    link()->ComPortAfterClose();
}

void TMainform::openChooserPort(int index)
{
    if (index < 0 || index >= ComComboBox1->count())
        return;
    ComComboBox1->setCurrentIndex(index);
    ComComboBox1Change();
}

void TMainform::ComComboBox1Change()
{
    // A port that cannot be opened fails silently; the label keeps
    // "connecting...".
    m_session->openPort(ComComboBox1->currentIndex() >= 0 ? ComComboBox1->currentText() : QString());
}

void TMainform::Action_AdvancedSettingsExecute()
{
    QWidget *advanced = m_windows ? m_windows->FormAdvanced : nullptr;
    if (!advanced)
        return;
    // Make the native window first so its frame counts in the centring.
    advanced->adjustSize();
    advanced->winId();
    advanced->move(centredTopLeft(frameGeometry(), advanced->frameGeometry().size()));
    advanced->show();
    advanced->raise();
    advanced->activateWindow();
}

QMargins TMainform::frameMargins() const
{
    const QRect inner = geometry();
    const QRect outer = frameGeometry();
    return { inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
        outer.bottom() - inner.bottom() };
}

void TMainform::showEvent(QShowEvent *event)
{
    if (!m_placementRestored && !event->spontaneous()) {
        m_placementRestored = true;
        restorePlacement();
    }
    QMainWindow::showEvent(event);
}

void TMainform::restorePlacement()
{
    WindowPlacement wp;
    if (!m_config->loadWindowPlacement(wp))
        return;

    const QScreen *current = screen();
    const int ppi = current ? qRound(current->logicalDotsPerInch()) : 96;
    const QRect frame = wp.NormalPosition;
    const bool onScreen = QGuiApplication::screenAt(frame.topLeft()) != nullptr
        && QGuiApplication::screenAt(frame.bottomRight()) != nullptr;
    // left < right of the stored (exclusive) rectangle means a width above 0.
    if (wp.PixelsPerInch == ppi && frame.width() > 0 && onScreen) {
        // The stored rectangle includes the window frame. Some window
        // managers report the frame only once the window is mapped; apply
        // the rectangle again then so the window does not grow by its frame
        // on every start.
        setGeometry(frame.marginsRemoved(frameMargins()));
        if (frameMargins().isNull()) {
            QTimer::singleShot(0, this, [this, frame] {
                if (windowState() == Qt::WindowNoState && !frameMargins().isNull())
                    setGeometry(frame.marginsRemoved(frameMargins()));
            });
        }
    }

    switch (wp.ShowCmd) {
    case 3:
        setWindowState(windowState() | Qt::WindowMaximized);
        break;
    case 2:
    case 6:
    case 7:
        // Shown normal first, then the application is minimised.
        QTimer::singleShot(0, this, [this] { showMinimized(); });
        break;
    default:
        break;
    }
}

bool TMainform::FormCloseQuery()
{
    WindowPlacement wp;
    if (isMinimized())
        wp.ShowCmd = 2;
    else if (isMaximized())
        wp.ShowCmd = 3;
    else
        wp.ShowCmd = 1;
    wp.Flags = 0;
    const QScreen *current = screen();
    wp.PixelsPerInch = current ? qRound(current->logicalDotsPerInch()) : 96;

    // normalGeometry() is the client area; the stored rectangle is the frame.
    QRect normal = normalGeometry();
    if (!normal.isValid())
        normal = geometry();
    wp.NormalPosition = normal.marginsAdded(frameMargins());
    m_config->saveWindowPlacement(wp);
    return true;
}

void TMainform::closeEvent(QCloseEvent *event)
{
    runGuarded(m_prompt, [this] { FormCloseQuery(); });
    event->accept();
    // The main window is the only one that keeps the program alive.
    QCoreApplication::quit();
}
