// The main window's side of the help pane, the manual and the website.

#include "app/appwindows.h"
#include "app/mainform.h"
#include "scriptedprompt.h"
#include "services/helpdocuments.h"
#include "services/helphintform.h"
#include "services/messagedlg.h"
#include "testdoubles.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>

class TestHelpPane : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void helpButtonOpensPaneWithItsOwnHeight();
    void paneFollowsMainWindowOnlyWhileVisible();
    void manualAndWebsite_data();
    void manualAndWebsite();

private:
    TMainform *startWindows(const QByteArray &config = {});

    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedPrompt m_prompt;
    std::unique_ptr<AppWindows> m_windows;
    QString m_configPath;
};

void TestHelpPane::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestHelpPane::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_configPath = m_dir->filePath(QStringLiteral("Velotrix/Config.ini"));
    m_prompt = ScriptedPrompt();
    m_prompt.setNextAnswer(mrOk);
}

void TestHelpPane::cleanup()
{
    m_windows.reset();
    m_dir.reset();
}

TMainform *TestHelpPane::startWindows(const QByteArray &config)
{
    if (!config.isEmpty()) {
        QDir().mkpath(QFileInfo(m_configPath).absolutePath());
        QFile f(m_configPath);
        if (f.open(QIODevice::WriteOnly))
            f.write(config);
    }
    m_windows = std::make_unique<AppWindows>(m_prompt,
        std::make_unique<TMainform>(m_prompt,
            TMainform::Setup { std::make_unique<AbsentPort>(), m_configPath,
                [] { return QStringList { QStringLiteral("COM1") }; }, {} }));
    return (*m_windows).Mainform;
}

void TestHelpPane::helpButtonOpensPaneWithItsOwnHeight()
{
    TMainform *w = startWindows();
    w->move(40, 30);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    THelpHintForm *pane = (*m_windows).HelpHintForm;
    QVERIFY(!pane->isVisible());

    QTest::mouseClick(w->HelpButton, Qt::LeftButton);
    QVERIFY(pane->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(pane));
    QTRY_COMPARE(pane->frameGeometry().topLeft(),
        QPoint(w->frameGeometry().left() + w->frameGeometry().width(), w->frameGeometry().top()));
    // Its own height, not the main window's; empty until a help text comes.
    QCOMPARE(pane->height(), 628);
    QVERIFY(pane->height() != w->height());
    QVERIFY(pane->HTMLForm1->toPlainText().isEmpty());

    // Pressed again after the user made it shorter: still its own height.
    pane->resize(pane->width(), 300);
    QTRY_COMPARE(pane->height(), 300);
    QTest::mouseClick(w->HelpButton, Qt::LeftButton);
    QCOMPARE(pane->height(), 300);
}

void TestHelpPane::paneFollowsMainWindowOnlyWhileVisible()
{
    TMainform *w = startWindows();
    w->move(40, 30);
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    THelpHintForm *pane = (*m_windows).HelpHintForm;

    // Hidden: moving the main window does not bring it up.
    w->move(60, 50);
    QTRY_COMPARE(w->pos(), QPoint(60, 50));
    QVERIFY(!pane->isVisible());

    w->AdvToolBarPager1HelpClick();
    QVERIFY(QTest::qWaitForWindowExposed(pane));
    // The user drags the pane away; the next move of the main window puts it
    // back beside it, with the main window's top and height.
    pane->move(700, 500);
    QTRY_COMPARE(pane->pos(), QPoint(700, 500));
    w->move(120, 80);
    QTRY_COMPARE(
        pane->frameGeometry(), THelpHintForm::besideRect(w->frameGeometry(), pane->frameGeometry(), true));
    QCOMPARE(pane->frameGeometry().top(), w->frameGeometry().top());
    QCOMPARE(pane->frameGeometry().height(), w->frameGeometry().height());

    w->resize(898, 500);
    QTRY_COMPARE(pane->frameGeometry().height(), w->frameGeometry().height());
    QCOMPARE(pane->frameGeometry().left(), w->frameGeometry().left() + w->frameGeometry().width());

    // Closed by the user: it stays closed and where it was.
    pane->close();
    const QPoint closedAt = pane->pos();
    w->move(200, 150);
    QTRY_COMPARE(w->pos(), QPoint(200, 150));
    w->resize(898, 621);
    QTRY_COMPARE(w->height(), 621);
    QVERIFY(!pane->isVisible());
    QCOMPARE(pane->pos(), closedAt);
}

void TestHelpPane::manualAndWebsite_data()
{
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QString>("manual");

    QTest::newRow("de") << QByteArray() << "Velotrix_de.pdf";
    QTest::newRow("en") << QByteArray("[Application]\r\nLanguage=en\r\n") << "Velotrix_en.pdf";
    // Lower-cased on reading, so still the German manual.
    QTest::newRow("DE") << QByteArray("[Application]\r\nLanguage=DE\r\n") << "Velotrix_de.pdf";
    QTest::newRow("fr") << QByteArray("[Application]\r\nLanguage=fr\r\n") << "Velotrix_en.pdf";
}

void TestHelpPane::manualAndWebsite()
{
    QFETCH(QByteArray, config);
    QFETCH(QString, manual);

    TMainform *w = startWindows(config);
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    w->Action_PDFHelp->trigger();
    w->Action_ShowWebsite->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));

    const QList<QUrl> expected { QUrl::fromLocalFile(
                                     QCoreApplication::applicationDirPath() + QLatin1Char('/') + manual),
        makerWebsite() };
    QCOMPARE(catcher.urls, expected);
    QVERIFY(m_prompt.shown.isEmpty());
}

QTEST_MAIN(TestHelpPane)
#include "tst_helppane.moc"
