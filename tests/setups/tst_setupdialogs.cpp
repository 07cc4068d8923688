// The two setup dialogs in the program's windows, driven by object name and
// keys: saving under a name with the overwrite question, picking and
// deleting in the save dialog, loading, renaming and deleting in the manage
// dialog, and a save -> load round trip through the editor.

#include "devicewindows.h"
#include "editor/editor.h"
#include "editorfixture.h"
#include "setups/datapaths.h"
#include "setups/inifile.h"
#include "setups/saveform.h"
#include "setups/setupfile.h"
#include "setups/setuplistview.h"
#include "setups/setupsform.h"
#include "testfiles.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using Step = ScriptedPrompt::Step;

class TestSetupDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void saveThenLoadRoundTrip();
    void saveRules();
    void readOnlyPickIsKeptToTheNextOpening();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void pickedPlaceholderNameSavesANewFile();
    void refusedNamesWriteNothing_data();
    void refusedNamesWriteNothing();
    void failedWriteKeepsTheDialogOpen();
    void deleteInSaveDialog();

    void renameInPlace();
    void readOnlyEntryCannotBeRenamedOrDeleted();
    void slowSecondClickRenames();
    void deleteTheOnlySetup();
    void loadButtonClosesDoubleClickStays();
    void loadWithoutModeDescriptor();
    void refusedLoadsChangeNothing_data();
    void refusedLoadsChangeNothing();
    void catalogueIsRebuiltAtEachOpening();
    void malformedSummaryKeepsTheDialogClosed();

private:
    TMainform &main() { return m_windows->main(); }
    ScriptedPrompt &prompt() { return m_windows->prompt; }
    TSaveform &save() { return *m_windows->windows().Saveform; }
    TSetupsform &manage() { return *m_windows->windows().Setupsform; }
    QString folder() const { return SetupDatapath(); }
    void put(const QString &name, const QByteArray &content);
    QStringList files() const { return QDir(folder()).entryList(QDir::Files); }
    // Runs the save dialog (or the manage dialog) with the given user steps;
    // a step list that leaves the dialog open ends with Esc.
    int runSave(const QList<Step> &steps);
    int runManage(const QList<Step> &steps);
    static void activate(QDialog &dialog);
    static void pick(TSetupListView *list, const QString &caption);
    static QStringList captions(const TSetupListView *list);
    // The in-place editor that is open (closed ones linger until deleted).
    static QLineEdit *captionEditor(const TSetupListView *list);
    tParameterSet editorRecords() { return written(*main().Editor); }

    QTemporaryDir m_documents;
    std::unique_ptr<DeviceWindows> m_windows;
};

void TestSetupDialogs::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestSetupDialogs::init()
{
    m_documents = QTemporaryDir();
    QVERIFY(m_documents.isValid());
    setDocumentsFolder(m_documents.path());
    m_windows = std::make_unique<DeviceWindows>();
}

void TestSetupDialogs::cleanup()
{
    m_windows.reset();
    setDocumentsFolder({});
}

void TestSetupDialogs::put(const QString &name, const QByteArray &content)
{
    QVERIFY(QDir().mkpath(folder()));
    writeAll(folder() + name, content);
}

void TestSetupDialogs::activate(QDialog &dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
}

int TestSetupDialogs::runSave(const QList<Step> &steps)
{
    prompt().queueStep([](QDialog &d) { activate(d); });
    for (const Step &s : steps)
        prompt().queueStep(s);
    prompt().queueStep([](QDialog &d) { QTest::keyClick(&d, Qt::Key_Escape); });
    main().ActionSaveSetupWindow->trigger();
    prompt().steps.clear();
    return save().result();
}

int TestSetupDialogs::runManage(const QList<Step> &steps)
{
    prompt().queueStep([](QDialog &d) { activate(d); });
    for (const Step &s : steps)
        prompt().queueStep(s);
    prompt().queueStep([](QDialog &d) { QTest::keyClick(&d, Qt::Key_Escape); });
    main().Action_ManageSetups->trigger();
    prompt().steps.clear();
    return manage().result();
}

void TestSetupDialogs::pick(TSetupListView *list, const QString &caption)
{
    const QList<QListWidgetItem *> found = list->findItems(caption, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(caption));
    const QRect rect = list->visualItemRect(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QCOMPARE(list->selectedItem(), found.first());
}

QLineEdit *TestSetupDialogs::captionEditor(const TSetupListView *list)
{
    for (QLineEdit *edit : list->findChildren<QLineEdit *>())
        if (edit->isVisible())
            return edit;
    return nullptr;
}

QStringList TestSetupDialogs::captions(const TSetupListView *list)
{
    QStringList all;
    for (int i = 0; i < list->count(); ++i)
        all.append(list->item(i)->text());
    return all;
}

void TestSetupDialogs::saveThenLoadRoundTrip()
{
    main().Params = typicalSet();
    main().ReadFromDataStructs(3);
    const tParameterSet shown = editorRecords();

    save().NameEdit->setEnabled(true);
    QCOMPARE(runSave({ [this](QDialog &) {
        save().NameEdit->setFocus();
        QTest::keyClicks(save().NameEdit, QStringLiteral("Morning: 3 modes"));
        QTest::keyClick(save().NameEdit, Qt::Key_Return);
    } }),
        int(QDialog::Accepted));
    QCOMPARE(files(), QStringList { QStringLiteral("Morning_ 3 modes.cfg") });
    QVERIFY(save().AdvListView1->count() == 0);
    const QString path = folder() + QStringLiteral("Morning_ 3 modes.cfg");
    const IniFile ini(path);
    QCOMPARE(ini.readString(SetupFile::Section, QStringLiteral("Name")), QStringLiteral("Morning: 3 modes"));
    QCOMPARE(ini.readString(SetupFile::Section, QStringLiteral("FileName")), path);
    QCOMPARE(ini.readInteger(SetupFile::Section, QStringLiteral("Modecount"), 0), 3);

    // Something else in the editor, then the setup loaded back.
    main().Params = tParameterSet();
    main().ReadFromDataStructs(1);
    QVERIFY(!(editorRecords() == shown));

    prompt().setNextAnswer(mrYes);
    runManage({ [this](QDialog &) {
        QCOMPARE(captions(manage().AdvListView1), QStringList { QStringLiteral("Morning: 3 modes") });
        pick(manage().AdvListView1, QStringLiteral("Morning: 3 modes"));
        QTest::mouseDClick(manage().AdvListView1->viewport(), Qt::LeftButton, {},
            manage().AdvListView1->visualItemRect(manage().AdvListView1->item(0)).center());
    } });
    QCOMPARE(
        prompt().texts().last(), QStringLiteral("Overwrite parameters with setup \"Morning: 3 modes\"?"));
    QCOMPARE(main().ModePager->count(), 3);
    QCOMPARE(main().Params.ModeCount, 3);
    QVERIFY(editorRecords() == shown);
    tParameterSet fromFile;
    SetupFile::read(path, fromFile);
    QVERIFY(main().Params == fromFile);
}

void TestSetupDialogs::saveRules()
{
    put(QStringLiteral("a.cfg"), "[Config]\nName=Ordinary\n");
    put(QStringLiteral("b.cfg"), "[Config]\nName=%CALLSYSTEM% Shipped\nreadonly=TRUE\nImage=3\n");
    save().NameEdit->clear();
    runSave({ [this](QDialog &) {
        main().ActionSaveSetupUpdate();
        QVERIFY(!main().ActionSaveSetup->isEnabled());
        QVERIFY(!save().PngBitBtn2->isEnabled());
        // Enter with an empty name does nothing.
        QTest::keyClick(save().NameEdit, Qt::Key_Return);
        QVERIFY(prompt().shown.isEmpty());
        QVERIFY(save().isVisible());

        pick(save().AdvListView1, QStringLiteral("Call system Shipped"));
        QCOMPARE(save().NameEdit->text(), QStringLiteral("Call system Shipped"));
        QVERIFY(!save().NameEdit->isEnabled());
        main().ActionSaveSetupUpdate();
        QVERIFY(!main().ActionSaveSetup->isEnabled());

        // Enter in the list picks too.
        save().AdvListView1->setCurrentRow(0);
        save().AdvListView1->setFocus();
        QTest::keyClick(save().AdvListView1, Qt::Key_Return);
        QCOMPARE(save().NameEdit->text(), QStringLiteral("Ordinary"));
        QVERIFY(save().NameEdit->isEnabled());
        main().ActionSaveSetupUpdate();
        QVERIFY(main().ActionSaveSetup->isEnabled());
    } });
    QCOMPARE(files().size(), 2);
}

void TestSetupDialogs::readOnlyPickIsKeptToTheNextOpening()
{
    put(QStringLiteral("b.cfg"), "[Config]\nName=Shipped\nreadonly=1\n");
    runSave({ [this](QDialog &) { pick(save().AdvListView1, QStringLiteral("Shipped")); } });
    runSave({ [this](QDialog &) {
        QVERIFY(!save().NameEdit->isEnabled());
        QCOMPARE(save().NameEdit->text(), QStringLiteral("Shipped"));
        QVERIFY(!save().AdvListView1->selectedEntry());
        main().ActionSaveSetupUpdate();
        QVERIFY(main().ActionSaveSetup->isEnabled());
    } });
}

void TestSetupDialogs::overwriteQuestion_data()
{
    QTest::addColumn<QStringList>("files"); // file names in the setup folder
    QTest::addColumn<QStringList>("stored"); // their stored names
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("written");

    const QList<int> yes { mrYes }, no { mrNo }, none;
    const QStringList morning { QStringLiteral("Morning.cfg") };
    QTest::newRow("new name") << morning << QStringList { QStringLiteral("Morning") } << "Fresh" << none << 0
                              << true;
    QTest::newRow("same name, Yes") << morning << QStringList { QStringLiteral("Morning") } << "Morning"
                                    << yes << 1 << true;
    QTest::newRow("same name, No") << morning << QStringList { QStringLiteral("Morning") } << "Morning" << no
                                   << 1 << false;
    QTest::newRow("closed question writes nothing") << morning << QStringList { QStringLiteral("Morning") }
                                                    << "Morning" << QList<int> { mrCancel } << 1 << false;
    QTest::newRow("case of A to Z, target exists")
        << QStringList { QStringLiteral("MORNING.cfg") } << QStringList { QStringLiteral("morning") }
        << "MORNING" << yes << 1 << true;
    // The listed name matches, but the typed name's own file is new.
    QTest::newRow("case of A to Z, no target")
        << QStringList { QStringLiteral("morning.cfg") } << QStringList { QStringLiteral("morning") }
        << "MORNING" << none << 0 << true;
    QTest::newRow("listed twice, asked twice")
        << QStringList { QStringLiteral("Morning.cfg"), QStringLiteral("copy.cfg") }
        << QStringList { QStringLiteral("Morning"), QStringLiteral("MORNING") } << "Morning"
        << QList<int> { mrYes, mrYes } << 2 << true;
    QTest::newRow("listed twice, No at the first")
        << QStringList { QStringLiteral("Morning.cfg"), QStringLiteral("copy.cfg") }
        << QStringList { QStringLiteral("Morning"), QStringLiteral("morning") } << "Morning" << no << 1
        << false;
    QTest::newRow("umlaut case is another name")
        << QStringList { QStringLiteral("übung.cfg") } << QStringList { QStringLiteral("Übung") } << "übung"
        << none << 0 << true;
}

void TestSetupDialogs::overwriteQuestion()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, stored);
    QFETCH(QString, typed);
    QFETCH(QList<int>, answers);
    QFETCH(int, questions);
    QFETCH(bool, written);

    for (int i = 0; i < files.size(); ++i)
        put(files[i], "[Config]\r\nName=" + stored[i].toUtf8() + "\r\nImage=7\r\n");
    const QString target = folder() + typed + QStringLiteral(".cfg");
    const bool existed = QFile::exists(target);
    for (int a : answers)
        prompt().setNextAnswer(MsgDlgResult(a));

    save().NameEdit->setEnabled(true);
    const int result = runSave({ [this, typed](QDialog &) {
        save().NameEdit->setText(typed);
        QTest::mouseClick(save().PngBitBtn2, Qt::LeftButton);
    } });
    QCOMPARE(prompt().shown.size(), questions);
    for (const ScriptedPrompt::Shown &s : prompt().shown) {
        QCOMPARE(s.text, QStringLiteral("Overwrite setup \"%1\"?").arg(typed));
        QCOMPARE(s.buttons, mbYesNo);
    }
    QCOMPARE(result, written ? int(QDialog::Accepted) : int(QDialog::Rejected));
    const IniFile ini(target);
    QCOMPARE(ini.hasKey(SetupFile::Section, QStringLiteral("ModeDescriptor")), written);
    // Saving over a file keeps what the program never writes.
    if (existed)
        QCOMPARE(ini.readInteger(SetupFile::Section, QStringLiteral("Image"), 0), 7);
}

void TestSetupDialogs::pickedPlaceholderNameSavesANewFile()
{
    put(QStringLiteral("call1.cfg"), "[Config]\nName=%CALLSYSTEM% 1\n");
    QCOMPARE(runSave({ [this](QDialog &) {
        pick(save().AdvListView1, QStringLiteral("Call system 1"));
        QTest::keyClick(save().NameEdit, Qt::Key_Enter);
    } }),
        int(QDialog::Accepted));
    QVERIFY(prompt().shown.isEmpty());
    QCOMPARE(IniFile(folder() + QStringLiteral("Call system 1.cfg"))
                 .readString(SetupFile::Section, QStringLiteral("Name")),
        QStringLiteral("Call system 1"));
    QCOMPARE(IniFile(folder() + QStringLiteral("call1.cfg"))
                 .readString(SetupFile::Section, QStringLiteral("Name")),
        QStringLiteral("%CALLSYSTEM% 1"));
}

void TestSetupDialogs::refusedNamesWriteNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("blanks") << "   ";
    QTest::newRow("dot") << ".";
    QTest::newRow("dots") << "...";
}

void TestSetupDialogs::refusedNamesWriteNothing()
{
    QFETCH(QString, name);
    save().NameEdit->setEnabled(true);
    prompt().setNextAnswer(mrOk);
    QCOMPARE(runSave({ [this, name](QDialog &d) {
        save().NameEdit->setText(name);
        QTest::keyClick(save().NameEdit, Qt::Key_Return);
        QVERIFY(d.isVisible());
    } }),
        int(QDialog::Rejected));
    QCOMPARE(prompt().shown.size(), 1);
    QVERIFY(prompt().shown.first().text.contains(name));
    QVERIFY(files().isEmpty());
}

void TestSetupDialogs::failedWriteKeepsTheDialogOpen()
{
    // A folder where the file should go: the write cannot succeed, even for
    // a user who may write everywhere.
    QVERIFY(QDir().mkpath(folder() + QStringLiteral("Blocked.cfg")));
    save().NameEdit->setEnabled(true);
    prompt().setNextAnswer(mrOk);
    QCOMPARE(runSave({ [this](QDialog &d) {
        save().NameEdit->setText(QStringLiteral("Blocked"));
        QTest::keyClick(save().NameEdit, Qt::Key_Return);
        QVERIFY(d.isVisible());
        QCOMPARE(save().NameEdit->text(), QStringLiteral("Blocked"));
    } }),
        int(QDialog::Rejected));
    QCOMPARE(prompt().shown.size(), 1);
    QCOMPARE(prompt().shown.first().kind, mtError);
    QVERIFY(prompt().shown.first().text.contains(
        QDir::toNativeSeparators(folder() + QStringLiteral("Blocked.cfg"))));
}

void TestSetupDialogs::deleteInSaveDialog()
{
    put(QStringLiteral("a.cfg"), "[Config]\nName=%callsystem% A\n");
    put(QStringLiteral("b.cfg"), "[Config]\nName=Shipped\nreadonly=yes\n");
    prompt().setNextAnswer(mrNo);
    prompt().setNextAnswer(mrYes);
    runSave({ [this](QDialog &d) {
        TSetupListView *list = save().AdvListView1;
        pick(list, QStringLiteral("Shipped"));
        QTest::keyClick(list, Qt::Key_Delete);
        QVERIFY(prompt().shown.isEmpty());

        pick(list, QStringLiteral("Call system A"));
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(prompt().texts(),
            QStringList { QStringLiteral("Do you really want to delete setup \"%callsystem% A\"?") });
        QCOMPARE(list->count(), 2);

        pick(list, QStringLiteral("Call system A"));
        QTest::keyClick(list, Qt::Key_Delete);
        QCOMPARE(captions(list), QStringList { QStringLiteral("Shipped") });
        QVERIFY(d.isVisible());
    } });
    QCOMPARE(files(), QStringList { QStringLiteral("b.cfg") });
}

void TestSetupDialogs::renameInPlace()
{
    put(QStringLiteral("My setup.cfg"), "[Config]\r\nName=My setup\r\nImage=5\r\nModecount=2\r\n");
    runManage({ [this](QDialog &) {
        TSetupListView *list = manage().AdvListView1;
        pick(list, QStringLiteral("My setup"));
        list->setFocus();

        // Blanks only: the stored name comes back, nothing is written.
        QTest::keyClick(list, Qt::Key_F2);
        auto *editor = captionEditor(list);
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("   "));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!list->isEditing());
        QCOMPARE(list->item(0)->text(), QStringLiteral("My setup"));

        // Esc changes nothing.
        manage().ActionEditCaption->trigger();
        editor = captionEditor(list);
        QVERIFY(editor && editor->isVisible());
        QTest::keyClicks(editor, QStringLiteral("Never"));
        QTest::keyClick(editor, Qt::Key_Escape);
        QTRY_VERIFY(!list->isEditing());
        QCOMPARE(list->item(0)->text(), QStringLiteral("My setup"));
        QVERIFY(manage().isVisible());

        QTest::keyClick(list, Qt::Key_F2);
        editor = captionEditor(list);
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("%CALLSYSTEM% Other "));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(!list->isEditing());
        QCOMPARE(list->item(0)->text(), QStringLiteral("%CALLSYSTEM% Other "));
    } });
    QCOMPARE(files(), QStringList { QStringLiteral("My setup.cfg") });
    const IniFile ini(folder() + QStringLiteral("My setup.cfg"));
    QCOMPARE(
        ini.readString(SetupFile::Section, QStringLiteral("Name")), QStringLiteral("%CALLSYSTEM% Other"));
    QCOMPARE(ini.readInteger(SetupFile::Section, QStringLiteral("Image"), 0), 5);
    QCOMPARE(ini.readInteger(SetupFile::Section, QStringLiteral("Modecount"), 0), 2);

    // The next opening shows the new name, translated; so does the save dialog.
    runManage({ [this](QDialog &) {
        QCOMPARE(captions(manage().AdvListView1), QStringList { QStringLiteral("Call system Other") });
    } });
    runSave({ [this](QDialog &) {
        QCOMPARE(captions(save().AdvListView1), QStringList { QStringLiteral("Call system Other") });
    } });
}

void TestSetupDialogs::readOnlyEntryCannotBeRenamedOrDeleted()
{
    put(QStringLiteral("shipped.cfg"), "[Config]\nName=Shipped\nreadonly=TRUE\nImage=99\n");
    runManage({ [this](QDialog &) {
        TSetupListView *list = manage().AdvListView1;
        QVERIFY(!manage().ActionLoadSetup->isEnabled());
        pick(list, QStringLiteral("Shipped"));
        QCoreApplication::processEvents();
        QVERIFY(!manage().ActionEditCaption->isEnabled());
        QVERIFY(!manage().ActionDeleteIcon->isEnabled());
        QVERIFY(manage().ActionLoadSetup->isEnabled());
        QVERIFY(!manage().EditBtn->isEnabled());
        list->setFocus();
        QTest::keyClick(list, Qt::Key_F2);
        QVERIFY(!list->isEditing());
        QTest::keyClick(list, Qt::Key_Delete);
        QVERIFY(!list->editSelected());
    } });
    QVERIFY(prompt().shown.isEmpty());
    QCOMPARE(files(), QStringList { QStringLiteral("shipped.cfg") });
}

void TestSetupDialogs::slowSecondClickRenames()
{
    put(QStringLiteral("a.cfg"), "[Config]\nName=Ordinary\n");
    put(QStringLiteral("b.cfg"), "[Config]\nName=Shipped\nreadonly=1\n");
    runManage({ [this](QDialog &) {
        TSetupListView *list = manage().AdvListView1;
        const int wait = QApplication::doubleClickInterval() + 100;
        for (const QString &caption : { QStringLiteral("Shipped"), QStringLiteral("Ordinary") }) {
            pick(list, caption);
            QTest::qWait(wait);
            const QRect rect = list->visualItemRect(list->findItems(caption, Qt::MatchExactly).first());
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
            QTest::qWait(wait);
            QCOMPARE(list->isEditing(), caption == QStringLiteral("Ordinary"));
        }
        QTest::keyClick(captionEditor(list), Qt::Key_Escape);
    } });
}

void TestSetupDialogs::deleteTheOnlySetup()
{
    put(QStringLiteral("only.cfg"), "[Config]\nName=Only\n");
    prompt().setNextAnswer(mrYes);
    runManage({ [this](QDialog &) {
        pick(manage().AdvListView1, QStringLiteral("Only"));
        QTest::mouseClick(manage().PngSpeedButton1, Qt::LeftButton);
        QCOMPARE(manage().AdvListView1->count(), 0);
        QCOMPARE(save().AdvListView1->count(), 0);
        QVERIFY(manage().isVisible());
    } });
    QCOMPARE(
        prompt().texts(), QStringList { QStringLiteral("Do you really want to delete setup \"Only\"?") });
    QVERIFY(files().isEmpty());
}

void TestSetupDialogs::loadButtonClosesDoubleClickStays()
{
    put(QStringLiteral("a.cfg"), "[Config]\nName=%Nexo2 Set% A\nModecount=4\n");
    main().ReadFromDataStructs(2);
    const tParameterSet before = main().Params;

    prompt().setNextAnswer(mrNo);
    prompt().setNextAnswer(mrNo);
    QCOMPARE(runManage({ [this](QDialog &d) {
        TSetupListView *list = manage().AdvListView1;
        pick(list, QStringLiteral("Nexo 2 Set (proximity sensor) A"));
        QTest::mouseDClick(
            list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
        QCOMPARE(prompt().shown.size(), 1);
        QVERIFY(d.isVisible());
        QTest::mouseClick(manage().PngSpeedButton2, Qt::LeftButton);
    } }),
        int(QDialog::Accepted));
    QCOMPARE(prompt().texts(),
        QStringList(
            2, QStringLiteral("Overwrite parameters with setup \"Nexo 2 Set (proximity sensor) A\"?")));
    QVERIFY(main().Params == before);
    QCOMPARE(main().ModePager->count(), 2);
}

void TestSetupDialogs::loadWithoutModeDescriptor()
{
    put(QStringLiteral("t.cfg"), "[Config]\nName=Tremor\nModecount=3\nAntiTremor=1E00C800\n");
    main().Params = typicalSet();
    const tParameterSet before = main().Params;
    prompt().setNextAnswer(mrYes);
    main().LoadSetup(folder() + QStringLiteral("t.cfg"));
    QCOMPARE(main().Params.modeBytes(), before.modeBytes());
    QCOMPARE(main().Params.AntiTremor.ON_delay_ms, 30);
    QCOMPARE(main().Params.AntiTremor.OFF_delay_ms, 200);
    QCOMPARE(main().ModePager->count(), 3);
}

void TestSetupDialogs::refusedLoadsChangeNothing_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("kind");

    QTest::newRow("seven modes") << QByteArray("[Config]\nName=Seven\nModecount=7\nAntiTremor=00000000\n")
                                 << int(mtError);
    QTest::newRow("malformed record")
        << QByteArray("[Config]\nName=Bad\nModecount=1\nModeDescriptor=00\nAntiTremor=00G00000\n")
        << int(mtError);
}

void TestSetupDialogs::refusedLoadsChangeNothing()
{
    QFETCH(QByteArray, content);
    QFETCH(int, kind);
    put(QStringLiteral("x.cfg"), content);
    main().Params = typicalSet();
    main().ReadFromDataStructs(2);
    const tParameterSet records = main().Params;
    const tParameterSet shown = editorRecords();

    prompt().setNextAnswer(mrYes);
    prompt().setNextAnswer(mrOk);
    runManage({ [this](QDialog &) {
        pick(manage().AdvListView1, manage().AdvListView1->item(0)->text());
        QTest::mouseClick(manage().PngSpeedButton2, Qt::LeftButton);
    } });
    QCOMPARE(prompt().shown.size(), 2);
    QCOMPARE(int(prompt().shown.last().kind), kind);
    QVERIFY(main().Params == records);
    QVERIFY(editorRecords() == shown);
    QCOMPARE(main().ModePager->count(), 2);
}

void TestSetupDialogs::catalogueIsRebuiltAtEachOpening()
{
    runManage({ [this](QDialog &) { QCOMPARE(manage().AdvListView1->count(), 0); } });
    put(QStringLiteral("b.cfg"), "[Config]\nName=beta\n");
    put(QStringLiteral("A.cfg"), "[Config]\nName=Alpha\n");
    put(QStringLiteral("readme.txt"), "no setup\n");
    QVERIFY(QDir().mkpath(folder() + QStringLiteral("sub")));
    for (int i = 0; i < 2; ++i)
        runManage({ [this](QDialog &) {
            QCOMPARE(captions(manage().AdvListView1),
                QStringList(
                    { QStringLiteral("Alpha"), QStringLiteral("beta"), QStringLiteral("readme.txt") }));
        } });
}

void TestSetupDialogs::malformedSummaryKeepsTheDialogClosed()
{
    put(QStringLiteral("a.cfg"), "[Config]\nName=Good\n");
    put(QStringLiteral("b.cfg"), "[Config]\nName=Bad\nImage=x\n");
    prompt().setNextAnswer(mrOk);
    main().Action_ManageSetups->trigger();
    QVERIFY(prompt().dialogs.isEmpty());
    QCOMPARE(prompt().shown.size(), 1);
    QCOMPARE(prompt().shown.first().kind, mtError);
    QVERIFY(prompt().shown.first().text.contains(QStringLiteral("b.cfg")));
    QCOMPARE(captions(manage().AdvListView1), QStringList { QStringLiteral("Good") });
}

QTEST_MAIN(TestSetupDialogs)
#include "tst_setupdialogs.moc"
