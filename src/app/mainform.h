#pragma once

#include "device/devicelink.h"
#include "device/devicesession.h"
#include "device/records.h"
#include "device/serialport.h"
#include "device/usbdevices.h"
#include "services/prompt.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class AppConfig;
class AppWindows;
class DeviceEnumerator;
class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QTabWidget;
class QTimer;
class QToolButton;
class TComLed;
class TComponentUSB;
class TEditor;
class UsbEventSource;

// The configurator's main window: status area, ribbon with the actions,
// the global-settings and mode pagers. Owns the device session (link, port,
// device state, working records) and Config.ini.
class TMainform : public QMainWindow, public DeviceUi
{
    Q_OBJECT
    // First, so that the members referring to them can be bound.
    Prompt &m_prompt;
    std::unique_ptr<DeviceSession> m_session;

public:
    using PortLister = std::function<QStringList()>;

    // Where hot-plug notifications and the device port enumeration come
    // from. Unset members mean the system's.
    struct DeviceDiscovery
    {
        std::function<UsbEventSource *()> makeEventSource;
        const DeviceEnumerator *enumerator = nullptr;
    };

    // Every member has a production default: a QtSerialPort, Config.ini at
    // AppConfig::defaultPath(), the system's list of serial ports and its
    // hot-plug notifications. Tests pass a fake port, a temporary Config.ini,
    // a fixed list and fake discovery.
    struct Setup
    {
        std::unique_ptr<SerialPort> port;
        QString configPath;
        PortLister listPorts;
        DeviceDiscovery discovery;
    };

    TMainform(Prompt &prompt, Setup setup, QWidget *parent = nullptr);
    explicit TMainform(Prompt &prompt, QWidget *parent = nullptr);
    ~TMainform() override;

    DeviceSession &session() { return *m_session; }
    DeviceLink *link() { return &m_session->link(); }
    SerialPort &port() { return m_session->port(); }
    AppConfig &config() { return *m_config; }
    Prompt &prompt() { return m_prompt; }

    // The other windows of the program, once they exist; the process entry
    // hands them over after making them.
    void setWindows(AppWindows *windows) { m_windows = windows; }

    // DeviceUi
    void setVersionLabel(const QString &text) override;
    void setPinLabelVisible(bool visible) override;

    MsgDlgResult MessageDlgCentered(const QString &text, MsgDlgKind kind, MsgDlgButtons buttons);

    void SwitchLanguage(const QString &code, bool initial);

    // Rule A: port open and the device has not been lost since it opened.
    bool deviceActionsAllowed();
    // Rule B: port open and firmware build 8 or later, or "Flash_Explicit".
    bool firmwareActionsAllowed();

    // Data model. The working records are the session's.
    qint32 acttag = 0;
    tParameterSet &Params;
    QString Language;

    // Status area
    QComboBox *ComComboBox1 = nullptr;
    TComLed *ComLed1 = nullptr;
    QLabel *VersionLabel = nullptr;
    QLabel *Label_PINProtected = nullptr;

    // Ribbon
    QLabel *RibbonCaption = nullptr;
    QToolButton *HelpButton = nullptr; // object name AdvToolBarPager1HelpButton
    QTabWidget *RibbonPager = nullptr;
    QToolButton *AdvToolBarMenuButton5 = nullptr;
    QMenu *LanguagePopupMenu = nullptr;
    QAction *German1 = nullptr;
    QAction *English1 = nullptr;

    // Editor area: the editor owns both pagers; GlobalPager is its
    // AdvOfficePager1, ModePager its Pager.
    TEditor *Editor = nullptr;
    QTabWidget *GlobalPager = nullptr;
    QTabWidget *ModePager = nullptr;
    QToolButton *PngBitBtn1 = nullptr;

    QTimer *StartupTimer = nullptr;

    // ActionList1: every action of the main window, parented to this object.
    QObject *ActionList1 = nullptr;
    QAction *Action_BatteryFuelGauge = nullptr;
    QAction *Action_Writetovelotrix = nullptr;
    QAction *Action_ReadFromVelotrix = nullptr;
    QAction *Action_ResetParameter = nullptr;
    QAction *Action_ManageSetups = nullptr;
    QAction *ActionSaveSetupWindow = nullptr;
    QAction *ActionSaveSetup = nullptr;
    QAction *Action_FirmwareUpdate = nullptr;
    QAction *Action_AdvancedSettings = nullptr;
    QAction *Action_PDFHelp = nullptr;
    QAction *Action_Webupdate = nullptr;
    QAction *Action_ShowWebsite = nullptr;

public Q_SLOTS:
    void ActionList1Update();
    void StartupTimerTimer();
    void ComComboBox1Change();
    void Action_AdvancedSettingsExecute();

    void ComPortAfterOpen();
    void ComPortAfterClose();

    // Saves the window placement into Config.ini; the window always closes.
    bool FormCloseQuery();

    // Language menu, help pane, manual and website (mainform_language.cpp).
public Q_SLOTS:
    void German1Click();
    void English1Click();
    void AdvToolBarPager1HelpClick();
    void Action_PDFHelpExecute();
    void Action_ShowWebsiteExecute();

public:
    // A ribbon button that shows an action under its own text or hint keeps
    // the message ids here and shows them in the current language.
    static void markButtonOverride(QToolButton *button, const QString &text, const QString &toolTip);
    static void applyButtonOverride(QToolButton *button);

protected:
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void connectLanguageAndHelp();
    void followWithHelpPane();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildUi();
    // The port-opening routine of a pick in the chooser and of an arriving
    // device: the entry at index becomes the chooser's current entry, then
    // the port is (re)opened there, which runs the handshake.
    void openChooserPort(int index);
    // The ribbon and its pages are built in their final parents: a finished
    // widget moved into another parent is styled again with all it holds.
    QWidget *buildRibbon(QWidget *parent);
    void buildMenuPage(QWidget *page);
    void buildHelpPage(QWidget *page);
    void createActions();
    void FormCreate();
    void restorePlacement();
    void updateLed();
    QMargins frameMargins() const;

    std::unique_ptr<AppConfig> m_config;
    // The system's port list and device enumerator are both in use: one
    // look at the serial ports then serves the chooser's first list and the
    // search for an attached device at start.
    bool m_systemPorts = false;
    PortLister m_listPorts;
    DeviceDiscovery m_discovery;
    AppWindows *m_windows = nullptr;
    bool m_placementRestored = false;

    // Device actions, PIN gate, battery and hot-plug (mainform_device.cpp).
public:
    TComponentUSB *USB = nullptr;

public Q_SLOTS:
    void Action_ReadFromVelotrixExecute();
    void Action_WritetovelotrixExecute();
    void Action_ResetParameterExecute();
    void Action_BatteryFuelGaugeExecute();
    // Shows the firmware update window.
    void Action_FirmwareUpdateExecute();
    void USBArrival(QObject *Sender, const QString &Portinfo);
    void USBRemove(QObject *Sender, const QString &Portinfo);

private:
    void connectDeviceActions();
    void CreateUSBComponent();
    // The chooser's list before the creation sequence runs.
    QStringList listPortsBeforeStart();
    void SelectDevicePortAtStart();
    // Lists the ports with no entry selected, or, with keepOpenPort, the
    // open port's entry as the current one.
    void refillPortChooser(const QStringList &ports, bool keepOpenPort);
    const DeviceEnumerator &deviceEnumerator() const;
    // The serial ports that listPortsBeforeStart() saw, until the creation
    // sequence has looked for an attached device among them.
    std::optional<QList<SerialDeviceInfo>> m_portsAtStart;
    // The session's PIN request: the PIN dialog, until cancelled.
    bool askForPin(QString &pin);

    // The mode editor's entry points (mainform_editor.cpp); the editor
    // holds their bodies.
public:
    void OutputFunctionCombobox_0Change(QObject *Sender);
    void Switch_Button1_0Click(QObject *Sender);
    void Output_Button_0Click(QObject *Sender);
    void Input_Button_0Click(QObject *Sender);
    void Off_Button_0Click(QObject *Sender);
    void ALARM_SWITCHTIMEChange(QObject *Sender);
    void PagerInsertPage(QWidget *page);
    void PagerClosePage(int PageIndex, bool &Allow);
    void PagerClosedPage(int PageIndex);
    void PagerChange();
    void PagerTabClick(int PageIndex);
    QWidget *CloneControl(QWidget *source, int n, QWidget *parent);
    void MultiMode_ButtonClick();
    void Selection_ModeChangeSliderStateChanged(bool on);
    void update_LClick_Transparent();
    void AntiTremor_ButtonClick();
    void Alarm_ButtonClick();
    void AlarmLEDON_ButtonClick();
    void AlarmSoundON_ButtonClick();
    void Selection_ImpulseClick();
    void Selection_PermanentClick();
    // Rebuilds the mode pages for count modes and fills every control from
    // the working records.
    void ReadFromDataStructs(int count);
    // Copies the editor into the working records; the mode count becomes
    // the number of mode pages.
    void WriteToDataStructs();
    void ShowFunctionHelp(int n);

    // Setups (mainform_setups.cpp).
public:
    // Rebuilds the catalogue in both setup dialogs from the setup folder.
    void LoadSetups();
    // Asks, then loads the setup file at path into the working records and
    // the editor.
    void LoadSetup(const QString &path);

public Q_SLOTS:
    void Action_ManageSetupsExecute();
    void ActionSaveSetupWindowExecute();
    void ActionSaveSetupExecute();
    void ActionSaveSetupUpdate();

private:
    void connectSetupActions();

private:
    // Puts a composed help text into the help pane (a null text keeps the
    // pane's text) and opens the pane beside the window when hidden.
    void showHelpText(const QString &html);
};
