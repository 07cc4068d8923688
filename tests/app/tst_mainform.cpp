#include "app/appwindows.h"
#include "app/comled.h"
#include "app/mainform.h"
#include "device/formadvanced.h"
#include "device/qtserialport.h"
#include "scriptedprompt.h"
#include "services/messagedlg.h"
#include "setups/appconfig.h"
#include "velotrixemulator.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

// A serial port without I/O: each write queues the reply configured for it,
// reads take from that queue. Opening and closing run the handlers like the
// real port.
class FakeSerialPort : public SerialPort
{
public:
    void open() override
    {
        if (m_open)
            return;
        if (failOpen)
            throw SerialPortError(QStringLiteral("cannot open %1").arg(m_name));
        m_open = true;
        openedNames.append(m_name);
        if (afterOpen)
            afterOpen();
    }
    void close() override
    {
        if (!m_open)
            return;
        m_open = false;
        if (afterClose)
            afterClose();
    }
    bool isOpen() const override { return m_open; }
    QString portName() const override { return m_name; }
    void setPortName(const QString &name) override
    {
        if (name == m_name)
            return;
        const bool wasOpen = m_open;
        close();
        m_name = name;
        if (wasOpen)
            open();
    }
    void clearBuffers() override { m_incoming.clear(); }
    int write(const QByteArray &bytes) override
    {
        written += bytes;
        m_incoming += replies.value(bytes);
        return int(bytes.size());
    }
    QByteArray read(int n) override
    {
        const QByteArray part = m_incoming.left(n);
        m_incoming.remove(0, part.size());
        return part;
    }

    QHash<QByteArray, QByteArray> replies;
    bool failOpen = false;
    QByteArray written;
    QStringList openedNames;

private:
    bool m_open = false;
    QString m_name = QStringLiteral("COM1");
    QByteArray m_incoming;
};

QByteArray versionReply(int variation, int build)
{
    QByteArray r("*V");
    r.append(char(variation));
    r.append(char(build & 0xFF));
    r.append(char((build >> 8) & 0xFF));
    return r;
}

int currentPpi()
{
    return qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch());
}

QToolButton *buttonFor(QWidget *root, QAction *action)
{
    const auto buttons = root->findChildren<QToolButton *>();
    for (QToolButton *b : buttons) {
        if (b->defaultAction() == action)
            return b;
    }
    return nullptr;
}

// Runs a real event loop for a while. QTest::qWait() polls without ever
// blocking, so the idle hook behind the action enabling never fires there.
void idle(int ms = 20)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Enabling runs when the event loop goes idle. Flip the actions to the
// opposite of what is expected first, so a passing check proves the idle
// update ran rather than the start state.
void expectRulesAfterIdle(TMainform &w, bool ruleA, bool ruleB)
{
    const QList<QAction *> a { w.Action_BatteryFuelGauge, w.Action_Writetovelotrix, w.Action_ReadFromVelotrix,
        w.Action_ResetParameter };
    const QList<QAction *> b { w.Action_FirmwareUpdate, w.Action_AdvancedSettings };
    for (QAction *action : a)
        action->setEnabled(!ruleA);
    for (QAction *action : b)
        action->setEnabled(!ruleB);
    idle();
    for (QAction *action : a)
        QVERIFY2(action->isEnabled() == ruleA, qPrintable(action->objectName()));
    for (QAction *action : b)
        QVERIFY2(action->isEnabled() == ruleB, qPrintable(action->objectName()));
    // Actions outside both rules stay enabled.
    QVERIFY(w.Action_ManageSetups->isEnabled());
    QVERIFY(w.ActionSaveSetupWindow->isEnabled());
}

} // namespace

class TestMainform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void windowsMadeInOrder_data();
    void windowsMadeInOrder();
    void actionTable_data();
    void actionTable();
    void batteryButtonKeepsItsOwnHint();
    void startState();
    void language_data();
    void language();
    void connectionStates_data();
    void connectionStates();
    void userPicksPort();
    void portThatCannotOpenStaysQuiet();
    void shortcutsOnlyInActiveMainWindow();
    void advancedWindowNonModalAndCentred();
    void placementRoundTrip();
    void closingMainWindowEndsProgram();
    void placementMinimizedOnClose();
    void placementRestoreRules_data();
    void placementRestoreRules();
    void emulatorEndToEnd_data();
    void emulatorEndToEnd();

private:
    std::unique_ptr<TMainform> makeMainform(FakeSerialPort **fake = nullptr,
        const QStringList &ports = { QStringLiteral("COM1"), QStringLiteral("COM3") });
    void writeConfig(const QByteArray &text);

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedPrompt m_prompt;
    std::unique_ptr<AppWindows> m_windows;
    QString m_configPath;
};

void TestMainform::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestMainform::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_configPath = m_dir->filePath(QStringLiteral("Velotrix/Config.ini"));
    // These tests check the English texts; the program starts in German
    // when the catalogue lies beside it.
    writeConfig("[Application]\r\nLanguage=en\r\n");
    // From here on every message box is recorded instead of shown.
    m_prompt = ScriptedPrompt();
    m_prompt.setNextAnswer(mrOk);
}

void TestMainform::cleanup()
{
    m_windows.reset();
    m_dir.reset();
}

std::unique_ptr<TMainform> TestMainform::makeMainform(FakeSerialPort **fake, const QStringList &ports)
{
    auto port = std::make_unique<FakeSerialPort>();
    if (fake)
        *fake = port.get();
    return std::make_unique<TMainform>(
        m_prompt, TMainform::Setup { std::move(port), m_configPath, [ports] { return ports; }, {} });
}

void TestMainform::writeConfig(const QByteArray &text)
{
    QVERIFY(QDir().mkpath(QFileInfo(m_configPath).absolutePath()));
    QFile f(m_configPath);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

void TestMainform::windowsMadeInOrder_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");

    QTest::newRow("main window") << 0 << "Mainform"
                                 << "Velotrix Config";
    QTest::newRow("help pane") << 1 << "HelpHintForm"
                               << "Info";
    QTest::newRow("setups") << 2 << "Setupsform"
                            << "Setups";
    QTest::newRow("battery") << 3 << "Batteryform"
                             << "Battery status";
    QTest::newRow("save") << 4 << "Saveform"
                          << "Save Setup";
    QTest::newRow("firmware update") << 5 << "FormFirmwareUpdate"
                                     << "Update Firmware";
    QTest::newRow("PIN") << 6 << "PIN_Dlg"
                         << "PIN ";
    QTest::newRow("advanced") << 7 << "FormAdvanced"
                              << "Advanced";
    QTest::newRow("change PIN") << 8 << "ChangePINDialog"
                                << "Change PIN";
    QTest::newRow("new PIN") << 9 << "NewPIN_Dlg"
                             << "Set PIN";
    QTest::newRow("web update") << 10 << "Formwebupdate"
                                << "Web-Update";
    QTest::newRow("firmware files") << 11 << "FormFirmwareFiles"
                                    << "Select firmware";
}

void TestMainform::windowsMadeInOrder()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(QString, caption);

    m_windows = std::make_unique<AppWindows>(m_prompt, makeMainform());
    const QList<QWidget *> all = (*m_windows).all();
    QCOMPARE(all.size(), 12);
    QWidget *w = all.at(index);
    QVERIFY(w);
    QCOMPARE(all.count(w), 1);
    QCOMPARE(w->objectName(), name);
    QCOMPARE(w->windowTitle(), caption);
    QVERIFY(w->isWindow());
    QVERIFY(!w->isVisible());

    // Only the main window stands alone (and so has a taskbar entry); the
    // others hang off it.
    if (index == 0)
        QVERIFY(!w->parentWidget());
    else
        QCOMPARE(w->parentWidget(), static_cast<QWidget *>((*m_windows).Mainform));
}

void TestMainform::actionTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<int>("icon");

    QTest::newRow("battery")
        << "Action_BatteryFuelGauge"
        << "Battery status" << QKeySequence(Qt::Key_F4)
        << "check the battery status. For exact results please unplug Velotrix for 5 seconds "
           "before."
        << 2;
    QTest::newRow("write") << "Action_Writetovelotrix"
                           << "Write to Velotrix" << QKeySequence(Qt::Key_F2)
                           << "Write the parameters to the device." << 1;
    QTest::newRow("read") << "Action_ReadFromVelotrix"
                          << "Read from Velotrix" << QKeySequence(Qt::Key_F3)
                          << "Read the parameters from the device." << 0;
    QTest::newRow("reset") << "Action_ResetParameter"
                           << "Reset parameters" << QKeySequence(Qt::Key_F5)
                           << "Reset the parameters to factory settings." << 3;
    QTest::newRow("manage") << "Action_ManageSetups"
                            << "Manage Setups" << QKeySequence(Qt::Key_F6) << "Load and save Parameter-Sets."
                            << 4;
    QTest::newRow("save window") << "ActionSaveSetupWindow"
                                 << "Save Setup" << QKeySequence() << QString() << 9;
    QTest::newRow("save") << "ActionSaveSetup"
                          << "Save" << QKeySequence() << QString() << 9;
    QTest::newRow("firmware") << "Action_FirmwareUpdate"
                              << "Firmware Update" << QKeySequence() << QString() << 11;
    QTest::newRow("advanced") << "Action_AdvancedSettings"
                              << "Advanced" << QKeySequence() << QString() << 12;
    QTest::newRow("manual") << "Action_PDFHelp"
                            << "Manual" << QKeySequence() << QString() << 13;
    QTest::newRow("web update") << "Action_Webupdate"
                                << "Check Update" << QKeySequence() << QString() << 14;
    QTest::newRow("website") << "Action_ShowWebsite"
                             << "Orvane Website" << QKeySequence() << QString() << 15;
}

void TestMainform::actionTable()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QKeySequence, shortcut);
    QFETCH(QString, hint);
    QFETCH(int, icon);

    auto w = makeMainform();
    QObject *list = w->findChild<QObject *>(QStringLiteral("ActionList1"));
    QVERIFY(list);
    auto *action = list->findChild<QAction *>(name);
    QVERIFY(action);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->shortcut(), shortcut);
    QCOMPARE(action->statusTip(), hint);
    if (!hint.isEmpty())
        QCOMPARE(action->toolTip(), hint);
    QVERIFY(w->actions().contains(action));

    const QImage expected = QIcon(QStringLiteral(":/icons/menu/%1.svg").arg(icon)).pixmap(32, 32).toImage();
    QVERIFY2(!expected.isNull(), "menu icon missing from the resources");
    QCOMPARE(action->icon().pixmap(32, 32).toImage(), expected);
}

void TestMainform::batteryButtonKeepsItsOwnHint()
{
    FakeSerialPort *fake = nullptr;
    auto w = makeMainform(&fake);
    QToolButton *button = buttonFor(w.get(), w->Action_BatteryFuelGauge);
    QVERIFY(button);
    QCOMPARE(button->toolTip(), QStringLiteral("Checks the battery status."));

    // Enabling the action makes the button copy the action's texts again.
    fake->replies.insert("*V", versionReply(1, 7));
    w->ComComboBox1Change();
    idle();
    QVERIFY(w->Action_BatteryFuelGauge->isEnabled());
    QCOMPARE(button->toolTip(), QStringLiteral("Checks the battery status."));

    QToolButton *manual = buttonFor(w.get(), w->Action_PDFHelp);
    QVERIFY(manual);
    QCOMPARE(manual->text(), QStringLiteral("PDF-Manual"));
}

void TestMainform::startState()
{
    FakeSerialPort *fake = nullptr;
    auto w = makeMainform(&fake, { QStringLiteral("COM1"), QStringLiteral("COM10"), QStringLiteral("COM2") });

    QCOMPARE(w->windowTitle(), QStringLiteral("Velotrix Config"));
    QCOMPARE(w->size(), QSize(898, 621));
    QVERIFY(!(w->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w->windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(w->RibbonCaption->text(), QStringLiteral("Velotrix® Configurator (" VELOTRIX_VERSION ")"));
    QCOMPARE(w->acttag, 0);

    QCOMPARE(w->ComComboBox1->count(), 3);
    QCOMPARE(w->ComComboBox1->currentIndex(), 0);
    QVERIFY(!w->ComComboBox1->isEditable());
    QCOMPARE(w->ComComboBox1->width(), 95);
    // Nothing is opened at start; the status area is idle.
    QVERIFY(fake->openedNames.isEmpty());
    QVERIFY(w->VersionLabel->text().isEmpty());
    QVERIFY(w->VersionLabel->font().bold());
    QVERIFY(!w->ComLed1->isLit());
    QVERIFY(w->Label_PINProtected->isHidden());
    QCOMPARE(w->Label_PINProtected->text(), QStringLiteral("PIN protected"));
    QCOMPARE(w->link()->Version_Build, 0);
    expectRulesAfterIdle(*w, false, false);

    QCOMPARE(w->ModePager->count(), 1);
    QCOMPARE(w->ModePager->tabText(0), QStringLiteral("Standard mode"));
    QCOMPARE(w->PngBitBtn1->defaultAction(), w->ActionSaveSetupWindow);
    QCOMPARE(w->AdvToolBarMenuButton5->menu(), w->LanguagePopupMenu);

    QVERIFY(w->StartupTimer->isActive());
    QVERIFY(w->StartupTimer->isSingleShot());
    QCOMPARE(w->StartupTimer->interval(), 2000);
    QVERIFY(m_prompt.shown.isEmpty());
}

void TestMainform::language_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QString>("language");

    QTest::newRow("no Config.ini") << QByteArray() << "de";
    QTest::newRow("no Language key") << QByteArray("[Application]\r\nFlash_EEPROM=0\r\n") << "de";
    QTest::newRow("empty Language") << QByteArray("[Application]\r\nLanguage=\r\n") << "de";
    QTest::newRow("upper-case EN") << QByteArray("[Application]\r\nLanguage=EN\r\n") << "en";
    QTest::newRow("unknown code") << QByteArray("[Application]\r\nLanguage=Fr\r\n") << "fr";
}

void TestMainform::language()
{
    QFETCH(QByteArray, config);
    QFETCH(QString, language);

    QVERIFY(QFile::remove(m_configPath));
    if (!config.isEmpty())
        writeConfig(config);
    auto w = makeMainform();
    QCOMPARE(w->Language, language);
    QCOMPARE(w->German1->isChecked(), language == QStringLiteral("de"));
    QCOMPARE(w->English1->isChecked(), language != QStringLiteral("de"));
    // Reading the language does not create the file.
    if (config.isEmpty())
        QVERIFY(!QFile::exists(m_configPath));
}

void TestMainform::connectionStates_data()
{
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<bool>("flashExplicit");
    QTest::addColumn<bool>("open");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("build");
    QTest::addColumn<bool>("ruleA");
    QTest::addColumn<bool>("ruleB");

    QTest::newRow("build 7") << versionReply(3, 7) << false << true << "Velotrix V1.3.7" << 7 << true
                             << false;
    QTest::newRow("build 7, Flash_Explicit")
        << versionReply(3, 7) << true << true << "Velotrix V1.3.7" << 7 << true << true;
    QTest::newRow("build 8") << versionReply(1, 8) << false << true << "Velotrix V1.1.8" << 8 << true << true;
    QTest::newRow("build 300") << versionReply(2, 300) << false << true << "Velotrix V1.2.300" << 300 << true
                               << true;
    // Only the header arrived: the port stays open with build 0 from start.
    QTest::newRow("header only, build 0")
        << QByteArray("*V") << false << true << "connecting..." << 0 << true << false;
    QTest::newRow("no answer") << QByteArray() << false << false << "not connected" << -1 << false << false;
    QTest::newRow("no answer, Flash_Explicit")
        << QByteArray() << true << false << "not connected" << -1 << false << false;
    QTest::newRow("wrong answer") << QByteArray("*X\x01") << false << false << "not connected" << -1 << false
                                  << false;
}

void TestMainform::connectionStates()
{
    QFETCH(QByteArray, reply);
    QFETCH(bool, flashExplicit);
    QFETCH(bool, open);
    QFETCH(QString, label);
    QFETCH(int, build);
    QFETCH(bool, ruleA);
    QFETCH(bool, ruleB);

    if (flashExplicit)
        writeConfig("[Application]\r\nLanguage=en\r\nFlash_Explicit=1\r\n");
    FakeSerialPort *fake = nullptr;
    auto w = makeMainform(&fake);
    fake->replies.insert("*V", reply);

    w->ComComboBox1Change();
    QCOMPARE(fake->openedNames, QStringList { QStringLiteral("COM1") });
    QCOMPARE(fake->isOpen(), open);
    QCOMPARE(w->ComLed1->isLit(), open);
    QCOMPARE(w->VersionLabel->text(), label);
    QCOMPARE(int(w->link()->Version_Build), build);
    QVERIFY(w->Label_PINProtected->isHidden());
    expectRulesAfterIdle(*w, ruleA, ruleB);

    // Losing the port greys everything again.
    fake->close();
    QVERIFY(!w->ComLed1->isLit());
    QCOMPARE(w->VersionLabel->text(), QStringLiteral("not connected"));
    expectRulesAfterIdle(*w, false, false);
    QVERIFY(m_prompt.shown.isEmpty());
}

void TestMainform::userPicksPort()
{
    FakeSerialPort *fake = nullptr;
    auto w = makeMainform(&fake);
    fake->replies.insert("*V", versionReply(1, 7));

    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    w->ComComboBox1->setFocus();
    QTest::keyClick(w->ComComboBox1, Qt::Key_Down);

    QCOMPARE(w->ComComboBox1->currentText(), QStringLiteral("COM3"));
    QCOMPARE(fake->portName(), QStringLiteral("COM3"));
    QVERIFY(fake->isOpen());
    QVERIFY(w->ComLed1->isLit());
    QCOMPARE(w->VersionLabel->text(), QStringLiteral("Velotrix V1.1.7"));
    QCOMPARE(fake->openedNames.last(), QStringLiteral("COM3"));

    // Picking another port leaves the first one and connects to the second.
    QTest::keyClick(w->ComComboBox1, Qt::Key_Up);
    QCOMPARE(fake->portName(), QStringLiteral("COM1"));
    QVERIFY(fake->isOpen());
    QCOMPARE(w->VersionLabel->text(), QStringLiteral("Velotrix V1.1.7"));
}

void TestMainform::portThatCannotOpenStaysQuiet()
{
    FakeSerialPort *fake = nullptr;
    auto w = makeMainform(&fake);
    fake->failOpen = true;

    w->ComComboBox1->setCurrentIndex(1);
    Q_EMIT w->ComComboBox1->activated(1);

    QCOMPARE(fake->portName(), QStringLiteral("COM3"));
    QVERIFY(!fake->isOpen());
    QVERIFY(!w->ComLed1->isLit());
    QCOMPARE(w->VersionLabel->text(), QStringLiteral("connecting..."));
    QVERIFY(m_prompt.shown.isEmpty());
    expectRulesAfterIdle(*w, false, false);
}

void TestMainform::shortcutsOnlyInActiveMainWindow()
{
    FakeSerialPort *fake = nullptr;
    m_windows = std::make_unique<AppWindows>(m_prompt, makeMainform(&fake));
    TMainform *w = (*m_windows).Mainform;
    fake->replies.insert("*V", versionReply(1, 8));
    w->ComComboBox1Change();

    QSignalSpy write(w->Action_Writetovelotrix, &QAction::triggered);
    QSignalSpy manage(w->Action_ManageSetups, &QAction::triggered);
    w->show();
    w->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), w);
    idle();

    QTest::keyClick(w, Qt::Key_F2);
    QCOMPARE(write.count(), 1);
    QTest::keyClick(w, Qt::Key_F6);
    QCOMPARE(manage.count(), 1);

    w->Action_AdvancedSettings->trigger();
    QWidget *advanced = (*m_windows).FormAdvanced;
    // A transient window counts as active with its parent, so wait for the
    // application's own notion of the active window.
    QTRY_COMPARE(QApplication::activeWindow(), advanced);
    QTest::keyClick(advanced, Qt::Key_F2);
    QTest::keyClick(advanced, Qt::Key_F6);
    QTest::keyClick(w, Qt::Key_F2);
    QCOMPARE(write.count(), 1);
    QCOMPARE(manage.count(), 1);

    // A disabled action ignores its key even in the active main window.
    advanced->close();
    w->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), w);
    fake->close();
    idle();
    QTest::keyClick(w, Qt::Key_F2);
    QCOMPARE(write.count(), 1);
}

void TestMainform::advancedWindowNonModalAndCentred()
{
    FakeSerialPort *fake = nullptr;
    m_windows = std::make_unique<AppWindows>(m_prompt, makeMainform(&fake));
    TMainform *w = (*m_windows).Mainform;
    TFormAdvanced *advanced = (*m_windows).FormAdvanced;
    fake->replies.insert("*V", versionReply(1, 8));
    w->ComComboBox1Change();
    w->show();
    w->setGeometry(40, 40, 720, 500);
    QVERIFY(QTest::qWaitForWindowExposed(w));

    QVERIFY(advanced->PngBitBtn2->defaultAction() == w->Action_FirmwareUpdate);
    QCOMPARE(advanced->PngBitBtn2->text(), QStringLiteral("Firmware Update"));

    w->Action_AdvancedSettingsExecute();
    QVERIFY(advanced->isVisible());
    QVERIFY(!advanced->isModal());
    QVERIFY(QTest::qWaitForWindowExposed(advanced));
    const QPoint delta = advanced->frameGeometry().center() - w->frameGeometry().center();
    QVERIFY2(qAbs(delta.x()) <= 1 && qAbs(delta.y()) <= 1,
        qPrintable(QStringLiteral("off centre by %1,%2").arg(delta.x()).arg(delta.y())));

    // Its firmware button follows rule B of the main window.
    fake->close();
    idle();
    QVERIFY(!advanced->PngBitBtn2->isEnabled());

    QTest::mouseClick(advanced->PngBitBtn3, Qt::LeftButton);
    QVERIFY(!advanced->isVisible());
}

void TestMainform::placementRoundTrip()
{
    const QRect geometry(60, 50, 700, 480);
    {
        auto w = makeMainform();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->setGeometry(geometry);
        QTRY_COMPARE(w->geometry(), geometry);
        QVERIFY(w->close());
    }
    WindowPlacement saved;
    QVERIFY(AppConfig(m_configPath).loadWindowPlacement(saved));
    QCOMPARE(saved.ShowCmd, 1);
    QCOMPARE(saved.PixelsPerInch, currentPpi());

    auto w = makeMainform();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    // The stored rectangle is the frame around the client area.
    QCOMPARE(
        saved.NormalPosition.size(), geometry.size() + (w->frameGeometry().size() - w->geometry().size()));
    QCOMPARE(w->geometry(), geometry);
    QCOMPARE(w->windowState(), Qt::WindowNoState);
}

// Other windows left open do not keep the program running, and nothing is
// asked on the way out.
void TestMainform::closingMainWindowEndsProgram()
{
    m_windows = std::make_unique<AppWindows>(m_prompt, makeMainform());
    TMainform *w = (*m_windows).Mainform;
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    w->Action_AdvancedSettingsExecute();
    (*m_windows).all().at(3)->show();
    QWidget *help = (*m_windows).all().at(1);
    help->show();

    QTimer::singleShot(0, w, [w] { w->close(); });
    QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(m_prompt.shown.isEmpty());
    WindowPlacement saved;
    QVERIFY(AppConfig(m_configPath).loadWindowPlacement(saved));
}

void TestMainform::placementMinimizedOnClose()
{
    const QRect geometry(30, 20, 700, 480);
    {
        auto w = makeMainform();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->setGeometry(geometry);
        QTRY_COMPARE(w->geometry(), geometry);
        w->showMinimized();
        QTRY_VERIFY(w->isMinimized());
        QVERIFY(w->close());
    }
    WindowPlacement saved;
    QVERIFY(AppConfig(m_configPath).loadWindowPlacement(saved));
    QCOMPARE(saved.ShowCmd, 2);

    // The next start shows the window where it was, then minimises it.
    auto w = makeMainform();
    w->show();
    QTRY_VERIFY(w->isMinimized());
    QCOMPARE(w->normalGeometry(), geometry);
}

void TestMainform::placementRestoreRules_data()
{
    QTest::addColumn<int>("showCmd");
    QTest::addColumn<int>("ppiOffset");
    QTest::addColumn<QString>("normPos");
    QTest::addColumn<bool>("applied");
    QTest::addColumn<bool>("maximized");

    QTest::newRow("normal") << 1 << 0 << "40,30,760,540" << true << false;
    QTest::newRow("unknown show state is normal") << 9 << 0 << "40,30,760,540" << true << false;
    QTest::newRow("maximized") << 3 << 0 << "40,30,760,540" << true << true;
    QTest::newRow("other resolution") << 1 << 24 << "40,30,760,540" << false << false;
    QTest::newRow("empty width") << 1 << 0 << "40,30,40,540" << false << false;
    QTest::newRow("left beyond right") << 1 << 0 << "760,30,40,540" << false << false;
    QTest::newRow("top-left off screen") << 1 << 0 << "-300,30,460,540" << false << false;
    QTest::newRow("bottom-right off screen") << 1 << 0 << "40,30,5000,4000" << false << false;
}

void TestMainform::placementRestoreRules()
{
    QFETCH(int, showCmd);
    QFETCH(int, ppiOffset);
    QFETCH(QString, normPos);
    QFETCH(bool, applied);
    QFETCH(bool, maximized);

    writeConfig(QStringLiteral("[Application]\r\nLanguage=en\r\n"
                               "[Form]\r\nShowCmd=%1\r\nFlags=0\r\nPixelsPerInch=%2\r\n"
                               "MinMaxPos=-1,-1,-1,-1\r\nNormPos=%3\r\n")
                    .arg(showCmd)
                    .arg(currentPpi() + ppiOffset)
                    .arg(normPos)
                    .toLatin1());
    auto w = makeMainform();
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));

    const QStringList n = normPos.split(QLatin1Char(','));
    const QRect stored(QPoint(n[0].toInt(), n[1].toInt()), QPoint(n[2].toInt() - 1, n[3].toInt() - 1));
    if (maximized) {
        QTRY_VERIFY(w->isMaximized());
        QCOMPARE(w->normalGeometry().topLeft(), stored.topLeft() + (w->geometry().topLeft() - w->pos()));
    } else if (applied) {
        QCOMPARE(w->frameGeometry(), stored);
    } else {
        // The window keeps its designed place: the screen's top-left corner.
        QCOMPARE(w->frameGeometry().topLeft(), w->screen()->availableGeometry().topLeft());
        QCOMPARE(w->geometry().size(), QSize(898, 621));
    }
}

void TestMainform::emulatorEndToEnd_data()
{
    QTest::addColumn<int>("variation");
    QTest::addColumn<int>("build");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<QString>("label");
    QTest::addColumn<bool>("ruleB");

    QTest::newRow("build 7") << 2 << 7 << false << false << "Velotrix V1.2.7" << false;
    QTest::newRow("build 9, PIN locked") << 1 << 9 << true << false << "Velotrix V1.1.9" << true;
    QTest::newRow("silent device") << 1 << 9 << false << true << "not connected" << false;
}

void TestMainform::emulatorEndToEnd()
{
    QFETCH(int, variation);
    QFETCH(int, build);
    QFETCH(bool, locked);
    QFETCH(bool, silent);
    QFETCH(QString, label);
    QFETCH(bool, ruleB);

    VelotrixEmulator emulator;
    emulator.setVariation(std::uint8_t(variation));
    emulator.setBuild(std::int16_t(build));
    emulator.setLocked(locked);
    emulator.setSilent(silent);

    const QString path = emulator.portPath();
    TMainform w(m_prompt,
        TMainform::Setup { std::make_unique<QtSerialPort>(), m_configPath,
            [path] {
                return QStringList { QStringLiteral("ttyNONE"), path };
            },
            {} });
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.ComComboBox1->setFocus();
    QTest::keyClick(w.ComComboBox1, Qt::Key_Down);

    QCOMPARE(w.port().portName(), path);
    QCOMPARE(w.VersionLabel->text(), label);
    QCOMPARE(w.ComLed1->isLit(), !silent);
    QCOMPARE(w.port().isOpen(), !silent);
    QCOMPARE(w.Label_PINProtected->isHidden(), !locked);
    expectRulesAfterIdle(w, !silent, ruleB);
    QVERIFY(m_prompt.shown.isEmpty());
    w.port().close();
}

QTEST_MAIN(TestMainform)
#include "tst_mainform.moc"
