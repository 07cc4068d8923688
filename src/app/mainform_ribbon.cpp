// TMainform: the action list and the ribbon with its two pages.

#include "app/comled.h"
#include "mainform.h"
#include "services/guard.h"
#include "services/translation.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
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
    connectSetupActions();

    // Nothing is open yet, so the device actions start disabled.
    ActionList1Update();
}

QWidget *TMainform::buildRibbon(QWidget *parent)
{
    setStyleSheet(QString::fromUtf8(ribbonStyle));
    auto *ribbon = new QWidget(parent);
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
    auto *menuPage = new QWidget;
    RibbonPager->addTab(menuPage, N_("Menu"));
    buildMenuPage(menuPage);
    auto *helpPage = new QWidget;
    RibbonPager->addTab(helpPage, N_("Help"));
    buildHelpPage(helpPage);
    RibbonPager->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    layout->addWidget(RibbonPager);
    return ribbon;
}

void TMainform::buildMenuPage(QWidget *page)
{
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
}

void TMainform::buildHelpPage(QWidget *page)
{
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
}
