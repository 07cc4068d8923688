// Language at start-up and from the language menu, on the real catalogues
// built beside the test.

#include "app/appwindows.h"
#include "app/mainform.h"
#include "device/batteryform.h"
#include "scriptedprompt.h"
#include "services/messagedlg.h"
#include "services/translation.h"
#include "services/windowtranslator.h"
#include "setups/appconfig.h"
#include "setups/setupsform.h"
#include "testdoubles.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

QToolButton *buttonFor(QWidget *root, QAction *action)
{
    const auto buttons = root->findChildren<QToolButton *>();
    for (QToolButton *b : buttons)
        if (b->defaultAction() == action)
            return b;
    return nullptr;
}

// The texts of the main window that show its language: captions, hints,
// tabs, menu entries and the buttons with texts of their own.
QStringList mainWindowTexts(TMainform &w)
{
    return { w.Action_Writetovelotrix->text(), w.Action_BatteryFuelGauge->toolTip(),
        buttonFor(&w, w.Action_BatteryFuelGauge)->toolTip(), buttonFor(&w, w.Action_PDFHelp)->text(),
        w.RibbonPager->tabText(1), w.AdvToolBarMenuButton5->text(), w.German1->text(), w.English1->text(),
        w.HelpButton->toolTip(), w.ModePager->tabText(0), w.Label_PINProtected->text() };
}

const QStringList germanTexts { QStringLiteral("Auf Velotrix schreiben"),
    QStringLiteral("Batteriestatus prüfen. Für genaue Werte Velotrix vorher 5 Sekunden lang ausstecken."),
    QStringLiteral("Prüft den Batteriestatus."), QStringLiteral("PDF-Handbuch"), QStringLiteral("Hilfe"),
    QStringLiteral("Sprache"), QStringLiteral("Deutsch"), QStringLiteral("Englisch"), QStringLiteral("Hilfe"),
    QStringLiteral("Standardmodus"), QStringLiteral("PIN-geschützt") };

const QStringList englishTexts { QStringLiteral("Write to Velotrix"),
    QStringLiteral(
        "check the battery status. For exact results please unplug Velotrix for 5 seconds before."),
    QStringLiteral("Checks the battery status."), QStringLiteral("PDF-Manual"), QStringLiteral("Help"),
    QStringLiteral("Language"), QStringLiteral("German"), QStringLiteral("English"), QStringLiteral("Help"),
    QStringLiteral("Standard mode"), QStringLiteral("PIN protected") };

} // namespace

class TestLanguage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void startLanguage_data();
    void startLanguage();
    void runtimeSwitchReachesMainWindowAndManageDialog();
    void windowsKeepStartLanguage_data();
    void windowsKeepStartLanguage();
    void menuWritesConfig_data();
    void menuWritesConfig();
    void portNamesNeverTranslated();

private:
    std::unique_ptr<TMainform> makeMainform(const QStringList &ports = { QStringLiteral("COM1") });
    void writeConfig(const QByteArray &text);
    QString storedLanguage();

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedPrompt m_prompt;
    std::unique_ptr<AppWindows> m_windows;
    QString m_configPath;
};

void TestLanguage::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    for (const char *code : { "de", "en" })
        QVERIFY2(QFile::exists(catalogueFileFor(QString::fromLatin1(code))),
            "message catalogues must be built beside the test");
}

void TestLanguage::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_configPath = m_dir->filePath(QStringLiteral("Velotrix/Config.ini"));
    m_prompt = ScriptedPrompt();
    m_prompt.setNextAnswer(mrOk);
}

void TestLanguage::cleanup()
{
    m_windows.reset();
    m_dir.reset();
}

std::unique_ptr<TMainform> TestLanguage::makeMainform(const QStringList &ports)
{
    return std::make_unique<TMainform>(m_prompt,
        TMainform::Setup { std::make_unique<AbsentPort>(), m_configPath, [ports] { return ports; }, {} });
}

void TestLanguage::writeConfig(const QByteArray &text)
{
    QVERIFY(QDir().mkpath(QFileInfo(m_configPath).absolutePath()));
    QFile f(m_configPath);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

QString TestLanguage::storedLanguage()
{
    return AppConfig(m_configPath).readString(QStringLiteral("Application"), QStringLiteral("Language"));
}

void TestLanguage::startLanguage_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("no Config.ini") << QByteArray() << "de" << germanTexts;
    QTest::newRow("empty Language") << QByteArray("[Application]\r\nLanguage=\r\n") << "de" << germanTexts;
    QTest::newRow("de") << QByteArray("[Application]\r\nLanguage=de\r\n") << "de" << germanTexts;
    QTest::newRow("upper-case EN") << QByteArray("[Application]\r\nLanguage=EN\r\n") << "en" << englishTexts;
    // No catalogue of that name: the message ids themselves, in English.
    QTest::newRow("unknown code") << QByteArray("[Application]\r\nLanguage=Fr\r\n") << "fr" << englishTexts;
}

void TestLanguage::startLanguage()
{
    QFETCH(QByteArray, config);
    QFETCH(QString, language);
    QFETCH(QStringList, texts);

    if (!config.isEmpty())
        writeConfig(config);
    // Start from the other language so a stale state cannot pass the test.
    setCurrentLanguage(language == QStringLiteral("de") ? QStringLiteral("en") : QStringLiteral("de"));

    auto w = makeMainform();
    QCOMPARE(w->Language, language);
    QCOMPARE(currentLanguage(), language);
    QCOMPARE(w->German1->isChecked(), language == QStringLiteral("de"));
    QCOMPARE(w->English1->isChecked(), language != QStringLiteral("de"));
    QCOMPARE(mainWindowTexts(*w), texts);
    // Texts built in code follow the same catalogue.
    QCOMPARE(tx("not connected"),
        language == QStringLiteral("de") ? QStringLiteral("nicht verbunden")
                                         : QStringLiteral("not connected"));
    // en.locale is the bound catalogue for "en": it maps the German window
    // texts to English.
    QCOMPARE(tx("Abbrechen"),
        language == QStringLiteral("en") ? QStringLiteral("Cancel") : QStringLiteral("Abbrechen"));
}

void TestLanguage::runtimeSwitchReachesMainWindowAndManageDialog()
{
    m_windows = std::make_unique<AppWindows>(m_prompt, makeMainform());
    TMainform *w = (*m_windows).Mainform;
    QCOMPARE(mainWindowTexts(*w), germanTexts);

    // A text of the manage dialog and of the battery window, met by their
    // translation at creation.
    auto *manageText = new QLabel(QStringLiteral("Save"), (*m_windows).Setupsform);
    TranslateComponent((*m_windows).Setupsform);
    auto *batteryText = new QLabel(QStringLiteral("Save"), (*m_windows).Batteryform);
    TranslateComponent((*m_windows).Batteryform);
    QCOMPARE(manageText->text(), QStringLiteral("Speichern"));
    QCOMPARE(batteryText->text(), QStringLiteral("Speichern"));

    w->English1->trigger();
    QCOMPARE(w->Language, QStringLiteral("en"));
    QVERIFY(w->English1->isChecked());
    QVERIFY(!w->German1->isChecked());
    QCOMPARE(mainWindowTexts(*w), englishTexts);
    QCOMPARE(manageText->text(), QStringLiteral("Save"));
    QCOMPARE(batteryText->text(), QStringLiteral("Speichern"));
    // Texts code builds from now on are English.
    QCOMPARE(tx("not connected"), QStringLiteral("not connected"));

    // And back: the remembered ids are looked up again.
    w->German1->trigger();
    QCOMPARE(mainWindowTexts(*w), germanTexts);
    QCOMPARE(manageText->text(), QStringLiteral("Speichern"));
}

void TestLanguage::windowsKeepStartLanguage_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");

    // Caption after a German start; a switch to English leaves it.
    QTest::newRow("help pane, never translated") << 1 << "Info";
    QTest::newRow("battery") << 3 << "Batteriestatus";
    QTest::newRow("save dialog, never translated") << 4 << "Save Setup";
    QTest::newRow("firmware update") << 5 << "Firmware aktualisieren";
    QTest::newRow("PIN") << 6 << "PIN ";
    QTest::newRow("advanced, never translated") << 7 << "Advanced";
    QTest::newRow("change PIN") << 8 << "PIN ändern";
    QTest::newRow("set PIN") << 9 << "PIN festlegen";
    QTest::newRow("web update") << 10 << "Web-Update";
    QTest::newRow("firmware files, never translated") << 11 << "Select firmware";
}

void TestLanguage::windowsKeepStartLanguage()
{
    QFETCH(int, index);
    QFETCH(QString, caption);

    m_windows = std::make_unique<AppWindows>(m_prompt, makeMainform());
    QWidget *window = (*m_windows).all().at(index);
    QCOMPARE(window->windowTitle(), caption);
    // A button that shows a main-window action takes its text from that
    // action, which follows the main window's language.
    QList<QAbstractButton *> buttons = window->findChildren<QAbstractButton *>();
    buttons.removeIf([](QAbstractButton *b) {
        auto *tool = qobject_cast<QToolButton *>(b);
        return tool && tool->defaultAction();
    });
    QStringList before;
    for (QAbstractButton *b : buttons)
        before.append(b->text());

    (*m_windows).Mainform->English1->trigger();
    QCOMPARE(window->windowTitle(), caption);
    QStringList after;
    for (QAbstractButton *b : buttons)
        after.append(b->text());
    // Buttons too: the save dialog's German "Abbrechen" stays in both
    // languages.
    QCOMPARE(after, before);
}

void TestLanguage::menuWritesConfig_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("stored");

    QTest::newRow("German to English") << QByteArray() << "English1"
                                       << "en";
    QTest::newRow("English to German") << QByteArray("[Application]\r\nLanguage=en\r\n") << "German1"
                                       << "de";
    // Picking the active language writes it too, and keeps its check mark.
    QTest::newRow("German again") << QByteArray() << "German1"
                                  << "de";
    QTest::newRow("unknown code to English")
        << QByteArray("[Application]\r\nLanguage=Fr\r\nFlash_Explicit=1\r\n") << "English1"
        << "en";
}

void TestLanguage::menuWritesConfig()
{
    QFETCH(QByteArray, config);
    QFETCH(QString, item);
    QFETCH(QString, stored);

    if (!config.isEmpty())
        writeConfig(config);
    auto w = makeMainform();
    auto *action = w->LanguagePopupMenu->findChild<QAction *>(item);
    QVERIFY(action);
    QCOMPARE(w->LanguagePopupMenu->actions().count(action), 1);
    action->trigger();

    QCOMPARE(storedLanguage(), stored);
    QCOMPARE(w->Language, stored);
    QVERIFY(action->isChecked());
    QCOMPARE(mainWindowTexts(*w), stored == QStringLiteral("de") ? germanTexts : englishTexts);
    // Other keys of the file stay.
    if (config.contains("Flash_Explicit"))
        QVERIFY(AppConfig(m_configPath)
                    .readBool(QStringLiteral("Application"), QStringLiteral("Flash_Explicit"), false));
}

void TestLanguage::portNamesNeverTranslated()
{
    // Port names that happen to be message ids of the catalogue.
    const QStringList ports { QStringLiteral("Help"), QStringLiteral("Menu"), QStringLiteral("COM3") };
    auto w = makeMainform(ports);
    auto items = [&w] {
        QStringList list;
        for (int i = 0; i < w->ComComboBox1->count(); ++i)
            list.append(w->ComComboBox1->itemText(i));
        return list;
    };
    QCOMPARE(w->Language, QStringLiteral("de"));
    QCOMPARE(w->RibbonPager->tabText(1), QStringLiteral("Hilfe"));
    QCOMPARE(items(), ports);

    w->English1->trigger();
    QCOMPARE(items(), ports);
    w->German1->trigger();
    QCOMPARE(items(), ports);
}

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
