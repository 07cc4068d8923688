#include "editor/controls/slideswitch.h"
#include "editor/controls/trackbar.h"
#include "mocatalogue.h"
#include "services/translation.h"
#include "services/windowtranslator.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

namespace {

const QMap<QString, QString> German {
    { QStringLiteral("Velotrix Config"), QStringLiteral("Velotrix Konfiguration") },
    { QStringLiteral("Name:"), QStringLiteral("Name:") },
    { QStringLiteral("&Close"), QStringLiteral("&Schließen") },
    { QStringLiteral("Close the window@at once"), QStringLiteral("Fenster schließen@sofort") },
    { QStringLiteral("Output"), QStringLiteral("Ausgang") },
    { QStringLiteral("Sound indication"), QStringLiteral("Tonsignal") },
    { QStringLiteral("Impulse"), QStringLiteral("Impuls") },
    { QStringLiteral("Toggle"), QStringLiteral("Wechselschalter") },
    { QStringLiteral("Menu"), QStringLiteral("Menü") },
    { QStringLiteral("Help"), QStringLiteral("Hilfe") },
    { QStringLiteral("Device actions"), QStringLiteral("Geräteaktionen") },
    { QStringLiteral("Write to Velotrix"), QStringLiteral("Auf Velotrix schreiben") },
    { QStringLiteral("Write the parameters to the device."),
        QStringLiteral("Die Parameter auf das Gerät schreiben.") },
    { QStringLiteral("Language"), QStringLiteral("Sprache") },
    { QStringLiteral("German"), QStringLiteral("Deutsch") },
    { QStringLiteral("English"), QStringLiteral("Englisch") },
    { QStringLiteral("Setup name"), QStringLiteral("Setup-Name") },
    { QStringLiteral("Call system"), QStringLiteral("Rufsystem") },
    { QStringLiteral("Time: %d ms"), QStringLiteral("Zeit: %d ms") },
    { QStringLiteral("Battery status"), QStringLiteral("Batteriestatus") },
    { QStringLiteral("Single"), QStringLiteral("Einmalig") },
    { QStringLiteral("Change"), QStringLiteral("Wechseln") },
};

const QMap<QString, QString> English {
    { QStringLiteral("Abbrechen"), QStringLiteral("Cancel") },
};

// A window with one of each kind of translated text.
struct Fixture
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QComboBox *ports = nullptr;

    Fixture()
    {
        window->setObjectName(QStringLiteral("Window"));
        window->setWindowTitle(QStringLiteral("Velotrix Config"));
        auto *layout = new QVBoxLayout(window.get());
        const auto add = [&](QWidget *w, const char *name) {
            w->setObjectName(QString::fromLatin1(name));
            layout->addWidget(w);
            return w;
        };
        add(new QLabel(QStringLiteral("Name:")), "Label");
        auto *close = add(new QPushButton(QStringLiteral("&Close")), "CloseButton");
        close->setToolTip(QStringLiteral("Close the window@at once"));
        add(new QPushButton(QStringLiteral("Abbrechen")), "CancelButton");
        add(new QGroupBox(QStringLiteral("Output")), "Group");
        add(new QCheckBox(QStringLiteral("Sound indication")), "Check");
        auto *edit = add(new QLineEdit, "Edit");
        static_cast<QLineEdit *>(edit)->setPlaceholderText(QStringLiteral("Setup name"));
        auto *spin = static_cast<QSpinBox *>(add(new QSpinBox, "Spin"));
        spin->setSpecialValueText(QStringLiteral("Toggle"));

        auto *functions = static_cast<QComboBox *>(add(new QComboBox, "Functions"));
        functions->addItems(
            { QStringLiteral("Impulse"), QStringLiteral("Unknown item"), QStringLiteral("Toggle") });
        // Holds data that happens to match a message id; it must not change.
        ports = static_cast<QComboBox *>(add(new QComboBox, "ComComboBox1"));
        ports->addItems({ QStringLiteral("Toggle"), QStringLiteral("ttyACM0") });

        auto *list = static_cast<QListWidget *>(add(new QListWidget, "List"));
        list->addItem(QStringLiteral("Call system"));
        list->item(0)->setToolTip(QStringLiteral("Help"));

        auto *tabs = static_cast<QTabWidget *>(add(new QTabWidget, "Pager"));
        tabs->addTab(new QWidget, QStringLiteral("Menu"));
        tabs->addTab(new QWidget, QStringLiteral("Help"));
        tabs->setTabToolTip(0, QStringLiteral("Device actions"));
        // Controls on a page and in a scroll area sit below Qt's own helper
        // widgets (the page stack, the viewport).
        auto *pageLabel = new QLabel(QStringLiteral("Output"), tabs->widget(0));
        pageLabel->setObjectName(QStringLiteral("PageLabel"));
        auto *scroll = static_cast<QScrollArea *>(add(new QScrollArea, "Scroll"));
        auto *scrolled = new QLabel(QStringLiteral("Impulse"));
        scrolled->setObjectName(QStringLiteral("ScrolledLabel"));
        scroll->setWidget(scrolled);

        auto *write = new QAction(QStringLiteral("Write to Velotrix"), window.get());
        write->setObjectName(QStringLiteral("Action_Writetovelotrix"));
        write->setToolTip(QStringLiteral("Write the parameters to the device."));
        auto *writeButton = static_cast<QToolButton *>(add(new QToolButton, "WriteButton"));
        writeButton->setDefaultAction(write);

        // A menu without a parent, reached only through the button showing it.
        auto *menu = new QMenu(QStringLiteral("Language"));
        menu->setObjectName(QStringLiteral("LanguagePopupMenu"));
        QObject::connect(window.get(), &QObject::destroyed, menu, &QObject::deleteLater);
        auto *german = menu->addAction(QStringLiteral("German"));
        german->setObjectName(QStringLiteral("German1"));
        auto *language = static_cast<QToolButton *>(add(new QToolButton, "LanguageButton"));
        language->setText(QStringLiteral("Language"));
        language->setMenu(menu);

        // The editor's own controls keep their texts in their own properties.
        auto *trackBar = static_cast<TTrackBar *>(add(new TTrackBar, "TrackBar"));
        trackBar->setRange(0, 1000);
        trackBar->setPosition(300);
        trackBar->setLabelFormat(QStringLiteral("Time: %d ms"));
        auto *slideSwitch = static_cast<TSlideSwitch *>(add(new TSlideSwitch, "Switch"));
        slideSwitch->setOnCaption(QStringLiteral("Single"));
        slideSwitch->setOffCaption(QStringLiteral("Change"));

        // Another window parented to this one translates on its own.
        auto *dialog = new QDialog(window.get());
        dialog->setObjectName(QStringLiteral("Dialog"));
        dialog->setWindowTitle(QStringLiteral("Battery status"));
    }

    template <typename T> T *find(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }

    // The text a row of the table names.
    QString text(const QString &where) const
    {
        const QStringList p = where.split(QLatin1Char('/'));
        const QByteArray name = p.at(0).toLatin1();
        const QString what = p.at(1);
        const int index = p.size() > 2 ? p.at(2).toInt() : -1;
        if (name == "LanguagePopupMenu" || name == "German1") {
            auto *menu = find<QToolButton>("LanguageButton")->menu();
            return what == QLatin1String("title") ? menu->title() : menu->actions().at(0)->text();
        }
        QObject *object
            = window->objectName().toLatin1() == name ? window.get() : find<QObject>(name.constData());
        if (!object)
            return QStringLiteral("<no object>");
        if (what == QLatin1String("item")) {
            if (auto *combo = qobject_cast<QComboBox *>(object))
                return combo->itemText(index);
            return static_cast<QListWidget *>(object)->item(index)->text();
        }
        if (what == QLatin1String("itemToolTip"))
            return static_cast<QListWidget *>(object)->item(index)->toolTip();
        if (what == QLatin1String("tab"))
            return static_cast<QTabWidget *>(object)->tabText(index);
        if (what == QLatin1String("tabToolTip"))
            return static_cast<QTabWidget *>(object)->tabToolTip(index);
        if (what == QLatin1String("labelText"))
            return static_cast<TTrackBar *>(object)->labelText();
        return object->property(what.toLatin1().constData()).toString();
    }
};

} // namespace

class TestWindowTranslator : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void translatesAndRetranslates_data();
    void translatesAndRetranslates();
    void exclusions();
    void textsSetByCodeKeepTheirLanguage();
    void deletedAndLaterObjects();
    void ownControlTextsOnlyWhereDeclared();
    void actionSharedWithAnotherWindow();

private:
    void useLanguage(const QString &code);
    QTemporaryDir m_dir;
};

void TestWindowTranslator::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(writeMoCatalogue(m_dir.filePath(QStringLiteral("de.locale")), German));
    QVERIFY(writeMoCatalogue(m_dir.filePath(QStringLiteral("en.locale")), English));
}

void TestWindowTranslator::useLanguage(const QString &code)
{
    bindTextDomain(QStringLiteral("default"), m_dir.filePath(code + QStringLiteral(".locale")));
    setCurrentLanguage(code);
}

void TestWindowTranslator::translatesAndRetranslates_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QString>("german");
    QTest::addColumn<QString>("english");

    QTest::newRow("window title") << "Window/windowTitle"
                                  << "Velotrix Konfiguration"
                                  << "Velotrix Config";
    QTest::newRow("label") << "Label/text"
                           << "Name:"
                           << "Name:";
    QTest::newRow("mnemonic kept") << "CloseButton/text"
                                   << "&Schließen"
                                   << "&Close";
    QTest::newRow("hint keeps @") << "CloseButton/toolTip"
                                  << "Fenster schließen@sofort"
                                  << "Close the window@at once";
    QTest::newRow("German window text") << "CancelButton/text"
                                        << "Abbrechen"
                                        << "Cancel";
    QTest::newRow("group box") << "Group/title"
                               << "Ausgang"
                               << "Output";
    QTest::newRow("check box") << "Check/text"
                               << "Tonsignal"
                               << "Sound indication";
    QTest::newRow("placeholder") << "Edit/placeholderText"
                                 << "Setup-Name"
                                 << "Setup name";
    QTest::newRow("spin box special value") << "Spin/specialValueText"
                                            << "Wechselschalter"
                                            << "Toggle";
    QTest::newRow("combo item 0") << "Functions/item/0"
                                  << "Impuls"
                                  << "Impulse";
    QTest::newRow("combo item unknown") << "Functions/item/1"
                                        << "Unknown item"
                                        << "Unknown item";
    QTest::newRow("combo item 2") << "Functions/item/2"
                                  << "Wechselschalter"
                                  << "Toggle";
    QTest::newRow("list item") << "List/item/0"
                               << "Rufsystem"
                               << "Call system";
    QTest::newRow("list item tool tip") << "List/itemToolTip/0"
                                        << "Hilfe"
                                        << "Help";
    QTest::newRow("tab 0") << "Pager/tab/0"
                           << "Menü"
                           << "Menu";
    QTest::newRow("tab 1") << "Pager/tab/1"
                           << "Hilfe"
                           << "Help";
    QTest::newRow("label on a tab page") << "PageLabel/text"
                                         << "Ausgang"
                                         << "Output";
    QTest::newRow("label in a scroll area") << "ScrolledLabel/text"
                                            << "Impuls"
                                            << "Impulse";
    QTest::newRow("tab tool tip") << "Pager/tabToolTip/0"
                                  << "Geräteaktionen"
                                  << "Device actions";
    QTest::newRow("action text") << "Action_Writetovelotrix/text"
                                 << "Auf Velotrix schreiben"
                                 << "Write to Velotrix";
    QTest::newRow("action tool tip") << "Action_Writetovelotrix/toolTip"
                                     << "Die Parameter auf das Gerät schreiben."
                                     << "Write the parameters to the device.";
    QTest::newRow("button showing action") << "WriteButton/text"
                                           << "Auf Velotrix schreiben"
                                           << "Write to Velotrix";
    QTest::newRow("button tool tip from action") << "WriteButton/toolTip"
                                                 << "Die Parameter auf das Gerät schreiben."
                                                 << "Write the parameters to the device.";
    QTest::newRow("menu title") << "LanguagePopupMenu/title"
                                << "Sprache"
                                << "Language";
    QTest::newRow("menu action") << "German1/text"
                                 << "Deutsch"
                                 << "German";
    QTest::newRow("track bar label format") << "TrackBar/labelFormat"
                                            << "Zeit: %d ms"
                                            << "Time: %d ms";
    QTest::newRow("track bar label shown") << "TrackBar/labelText"
                                           << "Zeit: 300 ms"
                                           << "Time: 300 ms";
    QTest::newRow("slide switch on caption") << "Switch/onCaption"
                                             << "Einmalig"
                                             << "Single";
    QTest::newRow("slide switch off caption") << "Switch/offCaption"
                                              << "Wechseln"
                                              << "Change";
    QTest::newRow("excluded by name") << "ComComboBox1/item/0"
                                      << "Toggle"
                                      << "Toggle";
    QTest::newRow("own window untouched") << "Dialog/windowTitle"
                                          << "Battery status"
                                          << "Battery status";
}

void TestWindowTranslator::translatesAndRetranslates()
{
    QFETCH(QString, where);
    QFETCH(QString, german);
    QFETCH(QString, english);

    Fixture f;
    useLanguage(QStringLiteral("de"));
    ignoreForNextTranslation(f.window.get(), QStringLiteral("ComComboBox1"));
    TranslateComponent(f.window.get());
    QCOMPARE(f.text(where), german);

    useLanguage(QStringLiteral("en"));
    RetranslateComponent(f.window.get());
    QCOMPARE(f.text(where), english);

    useLanguage(QStringLiteral("de"));
    RetranslateComponent(f.window.get());
    QCOMPARE(f.text(where), german);

    // A missing catalogue brings back the message ids.
    useLanguage(QStringLiteral("xx"));
    RetranslateComponent(f.window.get());
    const QString original
        = where.startsWith(QLatin1String("CancelButton")) ? QStringLiteral("Abbrechen") : english;
    QCOMPARE(f.text(where), original);
}

void TestWindowTranslator::exclusions()
{
    Fixture f;
    useLanguage(QStringLiteral("de"));
    ignoreClassForTranslation(QStringLiteral("QAbstractSpinBox"));
    ignoreForNextTranslation(f.window.get(), QStringLiteral("Functions"));
    TranslateComponent(f.window.get());
    QCOMPARE(f.text(QStringLiteral("Spin/specialValueText")), QStringLiteral("Toggle"));
    QCOMPARE(f.text(QStringLiteral("Functions/item/0")), QStringLiteral("Impulse"));
    QCOMPARE(f.text(QStringLiteral("Group/title")), QStringLiteral("Ausgang"));

    useLanguage(QStringLiteral("en"));
    RetranslateComponent(f.window.get());
    useLanguage(QStringLiteral("de"));
    RetranslateComponent(f.window.get());
    QCOMPARE(f.text(QStringLiteral("Functions/item/0")), QStringLiteral("Impulse"));

    // The name exclusion held for one translation only; the class one for good.
    TranslateComponent(f.window.get());
    QCOMPARE(f.text(QStringLiteral("Functions/item/0")), QStringLiteral("Impuls"));
    QCOMPARE(f.text(QStringLiteral("Spin/specialValueText")), QStringLiteral("Toggle"));
    // Translating twice does not translate the translations.
    QCOMPARE(f.text(QStringLiteral("Group/title")), QStringLiteral("Ausgang"));
    useLanguage(QStringLiteral("en"));
    RetranslateComponent(f.window.get());
    QCOMPARE(f.text(QStringLiteral("Group/title")), QStringLiteral("Output"));
}

void TestWindowTranslator::textsSetByCodeKeepTheirLanguage()
{
    Fixture f;
    useLanguage(QStringLiteral("de"));
    TranslateComponent(f.window.get());

    // Code replaces a label and refills a combo box in the current language.
    f.find<QLabel>("Label")->setText(tx("Time: %d ms"));
    auto *functions = f.find<QComboBox>("Functions");
    functions->clear();
    functions->addItems({ tx("Toggle"), QStringLiteral("Other") });

    useLanguage(QStringLiteral("en"));
    RetranslateComponent(f.window.get());
    QCOMPARE(f.text(QStringLiteral("Label/text")), QStringLiteral("Zeit: %d ms"));
    QCOMPARE(functions->itemText(0), QStringLiteral("Wechselschalter"));
    QCOMPARE(functions->itemText(1), QStringLiteral("Other"));
    QCOMPARE(functions->count(), 2);
    // Texts code left alone follow the language.
    QCOMPARE(f.text(QStringLiteral("Group/title")), QStringLiteral("Output"));
}

void TestWindowTranslator::deletedAndLaterObjects()
{
    auto f = std::make_unique<Fixture>();
    useLanguage(QStringLiteral("de"));
    TranslateComponent(f->window.get());

    delete f->find<QGroupBox>("Group");
    delete f->find<QTabWidget>("Pager");
    delete f->find<QAction>("Action_Writetovelotrix");
    auto *functions = f->find<QComboBox>("Functions");
    functions->removeItem(2);
    auto *later = new QLabel(QStringLiteral("Output"), f->window.get());

    useLanguage(QStringLiteral("en"));
    RetranslateComponent(f->window.get());
    QCOMPARE(f->text(QStringLiteral("Label/text")), QStringLiteral("Name:"));
    QCOMPARE(functions->itemText(0), QStringLiteral("Impulse"));
    QCOMPARE(functions->count(), 2);
    useLanguage(QStringLiteral("de"));
    RetranslateComponent(f->window.get());
    QCOMPARE(later->text(), QStringLiteral("Output"));

    // A window deleted after translation; a new one may reuse its address.
    f.reset();
    RetranslateComponent(nullptr);
    auto g = std::make_unique<Fixture>();
    RetranslateComponent(g->window.get());
    QCOMPARE(g->text(QStringLiteral("Group/title")), QStringLiteral("Output"));
    TranslateComponent(g->window.get());
    QCOMPARE(g->text(QStringLiteral("Group/title")), QStringLiteral("Ausgang"));
}

void TestWindowTranslator::ownControlTextsOnlyWhereDeclared()
{
    // A dynamic property of that name is data of some other widget.
    Fixture f;
    auto *label = f.find<QLabel>("Label");
    label->setProperty("onCaption", QStringLiteral("Single"));
    useLanguage(QStringLiteral("de"));
    TranslateComponent(f.window.get());
    QCOMPARE(label->property("onCaption").toString(), QStringLiteral("Single"));
    QCOMPARE(f.text(QStringLiteral("Switch/onCaption")), QStringLiteral("Einmalig"));
}

void TestWindowTranslator::actionSharedWithAnotherWindow()
{
    Fixture f;
    useLanguage(QStringLiteral("de"));
    TranslateComponent(f.window.get());

    // A dialog whose button shows the main window's action, translated later.
    QWidget dialog;
    auto *button = new QToolButton(&dialog);
    auto *write = f.find<QAction>("Action_Writetovelotrix");
    button->setDefaultAction(write);
    TranslateComponent(&dialog);
    QCOMPARE(write->text(), QStringLiteral("Auf Velotrix schreiben"));

    useLanguage(QStringLiteral("en"));
    RetranslateComponent(&dialog);
    QCOMPARE(button->text(), QStringLiteral("Write to Velotrix"));
    RetranslateComponent(f.window.get());
    QCOMPARE(write->text(), QStringLiteral("Write to Velotrix"));
}

QTEST_MAIN(TestWindowTranslator)
#include "tst_windowtranslator.moc"
