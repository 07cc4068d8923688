#include "mainform.h"

#include "app/appwindows.h"
#include "app/comled.h"
#include "device/formadvanced.h"
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
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QIcon menuIcon(int n)
{
    return QIcon(QStringLiteral(":/icons/menu/%1.svg").arg(n));
}

// A ribbon button that shows an action with its icon above its caption.
// Text or tool tip overrides are applied again whenever the action changes,
// because QToolButton copies the action's own texts on every change; they
// follow the language like the window texts.
QToolButton *actionButton(
    QAction *action, QWidget *parent, const QString &text = {}, const QString &toolTip = {})
{
    auto *button = new QToolButton(parent);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(32, 32));
    button->setAutoRaise(true);
    button->setMinimumWidth(76);
    button->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    if (!text.isEmpty() || !toolTip.isEmpty()) {
        TMainform::markButtonOverride(button, text, toolTip);
        QObject::connect(
            action, &QAction::changed, button, [button] { TMainform::applyButtonOverride(button); });
    }
    return button;
}

QFrame *ribbonSeparator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setObjectName(QStringLiteral("RibbonSeparator"));
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Plain);
    return line;
}

const char *const ribbonStyle = R"(
#AdvToolBarPager1 {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbfcfe, stop:1 #e9eef6);
    border-bottom: 1px solid #b9c4d4;
}
#RibbonCaption { color: #1f3a60; font-weight: bold; }
#AdvToolBarPager1 QTabWidget::pane { border: 1px solid #c5cfdd; border-radius: 3px; background: #f8fafd; top: -1px; }
#AdvToolBarPager1 QTabBar::tab {
    padding: 3px 14px; margin-right: 2px; border: 1px solid transparent;
    border-top-left-radius: 3px; border-top-right-radius: 3px; color: #1f3a60;
}
#AdvToolBarPager1 QTabBar::tab:selected { background: #f8fafd; border-color: #c5cfdd; border-bottom-color: #f8fafd; }
#AdvToolBarPager1 QTabBar::tab:!selected:hover { background: #e3eaf5; }
#AdvToolBarPager1 QToolButton { border: 1px solid transparent; border-radius: 3px; padding: 2px 4px; color: #1b1b1b; }
#AdvToolBarPager1 QToolButton:hover { background: #fdf1c9; border-color: #e8c777; }
#AdvToolBarPager1 QToolButton:pressed { background: #f9dc8f; border-color: #d5a94a; }
#AdvToolBarPager1 QToolButton:disabled { color: #9aa2ad; }
#AdvToolBarMenuButton5 { padding-right: 14px; }
#AdvToolBarMenuButton5::menu-indicator { subcontrol-origin: padding; subcontrol-position: right center; right: 3px; }
#AdvToolBarPager1HelpButton { font-weight: bold; color: #1f5fa8; min-width: 20px; }
#RibbonSeparator { color: #d3dae5; }
#StatusPanel { background: #ffffff; border: 1px solid #d3dae5; border-radius: 3px; }
#Label_PINProtected { color: #d00000; }
#PngBitBtn1 { border: 1px solid #b9c4d4; border-radius: 3px; padding: 4px 12px; background: #f6f8fb; }
#PngBitBtn1:hover { background: #fdf1c9; border-color: #e8c777; }
)";

} // namespace

TMainform::TMainform(Prompt &prompt, Setup setup, QWidget *parent)
    : QMainWindow(parent)
    , m_prompt(prompt)
    , m_session(std::make_unique<DeviceSession>(
          setup.port ? std::move(setup.port) : std::make_unique<QtSerialPort>(), *this))
    , Params(m_session->Params)
    , m_listPorts(setup.listPorts ? std::move(setup.listPorts) : PortLister(listAllSerialPorts))
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
    ComComboBox1->addItems(m_listPorts());

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

void TMainform::createActions()
{
    ActionList1 = new QObject(this);
    ActionList1->setObjectName(QStringLiteral("ActionList1"));

    auto make = [this](const char *name, const QString &caption, QKeySequence shortcut, const QString &hint,
                    int icon) {
        auto *action = new QAction(menuIcon(icon), caption, ActionList1);
        action->setObjectName(QString::fromLatin1(name));
        if (!shortcut.isEmpty()) {
            action->setShortcut(shortcut);
            // Shortcuts act only while the main window itself is active.
            action->setShortcutContext(Qt::WindowShortcut);
        }
        if (!hint.isEmpty()) {
            action->setToolTip(hint);
            action->setStatusTip(hint);
        }
        addAction(action);
        return action;
    };

    Action_BatteryFuelGauge = make("Action_BatteryFuelGauge", N_("Battery status"), QKeySequence(Qt::Key_F4),
        N_("check the battery status. For exact results please unplug Velotrix for 5 seconds before."), 2);
    Action_Writetovelotrix = make("Action_Writetovelotrix", N_("Write to Velotrix"), QKeySequence(Qt::Key_F2),
        N_("Write the parameters to the device."), 1);
    Action_ReadFromVelotrix = make("Action_ReadFromVelotrix", N_("Read from Velotrix"),
        QKeySequence(Qt::Key_F3), N_("Read the parameters from the device."), 0);
    Action_ResetParameter = make("Action_ResetParameter", N_("Reset parameters"), QKeySequence(Qt::Key_F5),
        N_("Reset the parameters to factory settings."), 3);
    Action_ManageSetups = make("Action_ManageSetups", N_("Manage Setups"), QKeySequence(Qt::Key_F6),
        N_("Load and save Parameter-Sets."), 4);
    ActionSaveSetupWindow = make("ActionSaveSetupWindow", N_("Save Setup"), {}, {}, 9);
    ActionSaveSetup = make("ActionSaveSetup", N_("Save"), {}, {}, 9);
    Action_FirmwareUpdate = make("Action_FirmwareUpdate", N_("Firmware Update"), {}, {}, 11);
    Action_AdvancedSettings = make("Action_AdvancedSettings", N_("Advanced"), {}, {}, 12);
    Action_PDFHelp = make("Action_PDFHelp", N_("Manual"), {}, {}, 13);
    Action_Webupdate = make("Action_Webupdate", N_("Check Update"), {}, {}, 14);
    Action_ShowWebsite = make("Action_ShowWebsite", N_("Orvane Website"), {}, {}, 15);

    connect(Action_AdvancedSettings, &QAction::triggered, this,
        [this] { runGuarded(m_prompt, [this] { Action_AdvancedSettingsExecute(); }); });
    connectDeviceActions();

    // Nothing is open yet, so the device actions start disabled.
    ActionList1Update();
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
    setStyleSheet(QString::fromUtf8(ribbonStyle));

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("MainPanel"));
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildRibbon());

    auto *body = new QWidget(central);
    auto *bodyLayout = new QGridLayout(body);
    bodyLayout->setContentsMargins(8, 8, 8, 8);
    bodyLayout->setHorizontalSpacing(8);
    bodyLayout->setVerticalSpacing(6);

    GlobalPager = new QTabWidget(body);
    GlobalPager->setObjectName(QStringLiteral("GlobalPager"));
    GlobalPager->setFixedWidth(300);

    ModePager = new QTabWidget(body);
    ModePager->setObjectName(QStringLiteral("ModePager"));
    auto *standardPage = new QWidget(ModePager);
    standardPage->setObjectName(QStringLiteral("ModePage_0"));
    ModePager->addTab(standardPage, N_("Standard mode"));

    PngBitBtn1 = new QToolButton(body);
    PngBitBtn1->setObjectName(QStringLiteral("PngBitBtn1"));
    PngBitBtn1->setDefaultAction(ActionSaveSetupWindow);
    PngBitBtn1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    PngBitBtn1->setIconSize(QSize(24, 24));

    bodyLayout->addWidget(GlobalPager, 0, 0, 2, 1);
    bodyLayout->addWidget(ModePager, 0, 1);
    bodyLayout->addWidget(PngBitBtn1, 1, 1, Qt::AlignRight);
    bodyLayout->setRowStretch(0, 1);
    layout->addWidget(body, 1);

    setCentralWidget(central);
    resize(898, 621);
}

QWidget *TMainform::buildRibbon()
{
    auto *ribbon = new QWidget(this);
    ribbon->setObjectName(QStringLiteral("AdvToolBarPager1"));
    ribbon->setAttribute(Qt::WA_StyledBackground);
    auto *layout = new QVBoxLayout(ribbon);
    layout->setContentsMargins(6, 2, 6, 6);
    layout->setSpacing(0);

    auto *captionRow = new QHBoxLayout;
    captionRow->setContentsMargins(0, 0, 0, 0);
    RibbonCaption = new QLabel(N_("Velotrix® Configurator"), ribbon);
    RibbonCaption->setObjectName(QStringLiteral("RibbonCaption"));
    RibbonCaption->setAlignment(Qt::AlignCenter);
    HelpButton = new QToolButton(ribbon);
    HelpButton->setObjectName(QStringLiteral("AdvToolBarPager1HelpButton"));
    HelpButton->setText(QStringLiteral("?"));
    HelpButton->setToolTip(N_("Help"));
    HelpButton->setAutoRaise(true);
    captionRow->addSpacing(HelpButton->sizeHint().width());
    captionRow->addWidget(RibbonCaption, 1);
    captionRow->addWidget(HelpButton);
    layout->addLayout(captionRow);

    RibbonPager = new QTabWidget(ribbon);
    RibbonPager->setObjectName(QStringLiteral("RibbonPager"));
    RibbonPager->setDocumentMode(false);
    RibbonPager->addTab(buildMenuPage(), N_("Menu"));
    RibbonPager->addTab(buildHelpPage(), N_("Help"));
    RibbonPager->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    layout->addWidget(RibbonPager);
    return ribbon;
}

QWidget *TMainform::buildMenuPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("MenuPage"));
    auto *row = new QHBoxLayout(page);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(2);

    auto *status = new QFrame(page);
    status->setObjectName(QStringLiteral("StatusPanel"));
    auto *grid = new QGridLayout(status);
    grid->setContentsMargins(8, 6, 8, 6);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(3);

    ComComboBox1 = new QComboBox(status);
    ComComboBox1->setObjectName(QStringLiteral("ComComboBox1"));
    ComComboBox1->setEditable(false);
    ComComboBox1->setFixedWidth(95);
    connect(ComComboBox1, &QComboBox::activated, this, &TMainform::openChooserPort);

    ComLed1 = new TComLed(status);
    ComLed1->setObjectName(QStringLiteral("ComLed1"));

    VersionLabel = new QLabel(status);
    VersionLabel->setObjectName(QStringLiteral("VersionLabel"));
    QFont bold = VersionLabel->font();
    bold.setBold(true);
    VersionLabel->setFont(bold);
    VersionLabel->setMinimumWidth(130);

    Label_PINProtected = new QLabel(N_("PIN protected"), status);
    Label_PINProtected->setObjectName(QStringLiteral("Label_PINProtected"));
    Label_PINProtected->hide();

    grid->addWidget(ComComboBox1, 0, 0);
    grid->addWidget(ComLed1, 0, 1, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(VersionLabel, 1, 0, 1, 2);
    grid->addWidget(Label_PINProtected, 2, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    row->addWidget(status);
    row->addSpacing(6);

    row->addWidget(actionButton(Action_Writetovelotrix, page));
    row->addWidget(actionButton(Action_ReadFromVelotrix, page));
    row->addWidget(actionButton(Action_BatteryFuelGauge, page, {}, N_("Checks the battery status.")));
    row->addWidget(actionButton(Action_ResetParameter, page));
    row->addWidget(ribbonSeparator(page));
    row->addWidget(actionButton(Action_ManageSetups, page));
    row->addWidget(ribbonSeparator(page));
    row->addWidget(actionButton(Action_AdvancedSettings, page));
    row->addStretch(1);
    return page;
}

QWidget *TMainform::buildHelpPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("HelpPage"));
    auto *row = new QHBoxLayout(page);
    row->setContentsMargins(4, 4, 4, 4);
    row->setSpacing(2);

    row->addWidget(actionButton(Action_PDFHelp, page, N_("PDF-Manual")));
    row->addWidget(actionButton(Action_Webupdate, page));

    LanguagePopupMenu = new QMenu(this);
    LanguagePopupMenu->setObjectName(QStringLiteral("LanguagePopupMenu"));
    German1 = LanguagePopupMenu->addAction(N_("German"));
    German1->setObjectName(QStringLiteral("German1"));
    German1->setCheckable(true);
    English1 = LanguagePopupMenu->addAction(N_("English"));
    English1->setObjectName(QStringLiteral("English1"));
    English1->setCheckable(true);
    // Exactly one language carries the check mark; picking the checked one
    // again must not clear it.
    auto *languages = new QActionGroup(LanguagePopupMenu);
    languages->addAction(German1);
    languages->addAction(English1);

    AdvToolBarMenuButton5 = new QToolButton(page);
    AdvToolBarMenuButton5->setObjectName(QStringLiteral("AdvToolBarMenuButton5"));
    AdvToolBarMenuButton5->setText(N_("Language"));
    AdvToolBarMenuButton5->setIcon(menuIcon(16));
    AdvToolBarMenuButton5->setIconSize(QSize(32, 32));
    AdvToolBarMenuButton5->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    AdvToolBarMenuButton5->setAutoRaise(true);
    AdvToolBarMenuButton5->setMinimumWidth(76);
    AdvToolBarMenuButton5->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    AdvToolBarMenuButton5->setPopupMode(QToolButton::InstantPopup);
    AdvToolBarMenuButton5->setMenu(LanguagePopupMenu);
    row->addWidget(AdvToolBarMenuButton5);

    row->addWidget(actionButton(Action_ShowWebsite, page));
    row->addStretch(1);
    return page;
}

void TMainform::FormCreate()
{
    acttag = 0;

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
