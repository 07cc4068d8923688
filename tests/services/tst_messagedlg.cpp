#include "device/devicelink.h"
#include "scriptedprompt.h"
#include "services/messagedlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QtTest>
#include <functional>

namespace {

// What the open box looked like when the test reached it.
struct Seen
{
    bool reached = false;
    bool timedOut = false;
    QString title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QPoint centre;
};

// Runs the real box; once it is open, records it and hands it to poke, which
// must end it. A box still open after a few seconds is closed so the test
// fails instead of hanging.
int runRealBox(
    const QString &text, int kind, int buttons, const std::function<void(QMessageBox *)> &poke, Seen *seen)
{
    std::function<void()> reach = [&]() {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            QTimer::singleShot(10, reach);
            return;
        }
        seen->reached = true;
        seen->title = box->windowTitle();
        seen->icon = box->icon();
        seen->centre = box->frameGeometry().center();
        poke(box);
    };
    QTimer::singleShot(0, reach);

    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [seen]() {
        if (QWidget *box = QApplication::activeModalWidget()) {
            seen->timedOut = true;
            box->close();
        }
    });
    guard.start(5000);
    return MessageDlgCentered(text, static_cast<MsgDlgKind>(kind), MsgDlgButtons::fromInt(buttons));
}

} // namespace

class TestMessageDlg : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void centredTopLeft_data();
    void centredTopLeft();
    void keptOnScreen_data();
    void keptOnScreen();
    void realBoxResults_data();
    void realBoxResults();
    void titleAndIconFollowKind_data();
    void titleAndIconFollowKind();
    void centresOnActiveWindow();
    void centresOnScreenWithoutActiveWindow();
};

void TestMessageDlg::centredTopLeft_data()
{
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QPoint>("topLeft");

    QTest::newRow("even sizes") << QRect(100, 50, 600, 400) << QSize(200, 100) << QPoint(300, 200);
    // Halves truncate: 101 / 2 = 50 and 41 / 2 = 20.
    QTest::newRow("odd window") << QRect(10, 20, 101, 51) << QSize(40, 20) << QPoint(40, 35);
    QTest::newRow("odd box") << QRect(0, 0, 100, 50) << QSize(41, 21) << QPoint(30, 15);
    QTest::newRow("box larger than window") << QRect(100, 100, 50, 40) << QSize(200, 100) << QPoint(25, 70);
    QTest::newRow("window left of the primary screen")
        << QRect(-1920, -200, 801, 600) << QSize(300, 101) << QPoint(-1670, 50);
}

void TestMessageDlg::centredTopLeft()
{
    QFETCH(QRect, window);
    QFETCH(QSize, box);
    QFETCH(QPoint, topLeft);
    QCOMPARE(::centredTopLeft(window, box), topLeft);
}

void TestMessageDlg::keptOnScreen_data()
{
    QTest::addColumn<QRect>("box");
    QTest::addColumn<QRect>("placed");

    // Screen area 0,0 1920x1040 in every row.
    QTest::newRow("inside stays") << QRect(100, 100, 300, 120) << QRect(100, 100, 300, 120);
    QTest::newRow("over the right edge") << QRect(1800, 100, 300, 120) << QRect(1620, 100, 300, 120);
    QTest::newRow("over the left and top edges") << QRect(-50, -20, 300, 120) << QRect(0, 0, 300, 120);
    QTest::newRow("over the bottom edge") << QRect(100, 1000, 300, 120) << QRect(100, 920, 300, 120);
    QTest::newRow("larger than the screen") << QRect(-10, 500, 2000, 1100) << QRect(0, 0, 2000, 1100);
}

void TestMessageDlg::keptOnScreen()
{
    QFETCH(QRect, box);
    QFETCH(QRect, placed);
    QCOMPARE(::keptOnScreen(box, QRect(0, 0, 1920, 1040)), placed);
}

void TestMessageDlg::realBoxResults_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("result");

    QTest::newRow("Yes/No, Escape is No") << int(mbYesNo) << QStringLiteral("escape") << int(mrNo);
    QTest::newRow("Yes/No, close button") << int(mbYesNo) << QStringLiteral("close") << int(mrCancel);
    QTest::newRow("Yes/No, Enter is Yes") << int(mbYesNo) << QStringLiteral("enter") << int(mrYes);
    QTest::newRow("Yes/No, click No") << int(mbYesNo) << QStringLiteral("click No") << int(mrNo);
    QTest::newRow("OK, Enter") << int(mbOK) << QStringLiteral("enter") << int(mrOk);
    QTest::newRow("OK, Escape presses OK") << int(mbOK) << QStringLiteral("escape") << int(mrOk);
    QTest::newRow("OK, close button") << int(mbOK) << QStringLiteral("close") << int(mrCancel);
    QTest::newRow("Yes/No/Cancel, Escape is Cancel")
        << int(mbYesNo | mbCancel) << QStringLiteral("escape") << int(mrCancel);
    QTest::newRow("OK/Yes, Enter prefers OK") << int(mbOK | mbYes) << QStringLiteral("enter") << int(mrOk);
    QTest::newRow("no buttons gets OK") << 0 << QStringLiteral("enter") << int(mrOk);
}

void TestMessageDlg::realBoxResults()
{
    QFETCH(int, buttons);
    QFETCH(QString, action);
    QFETCH(int, result);

    Seen seen;
    const int answer = runRealBox(
        QStringLiteral("Continue?"), mtConfirmation, buttons,
        [action](QMessageBox *box) {
            if (action == QLatin1String("escape"))
                QTest::keyClick(box, Qt::Key_Escape);
            else if (action == QLatin1String("enter"))
                QTest::keyClick(box, Qt::Key_Return);
            else if (action == QLatin1String("click No"))
                box->button(QMessageBox::No)->click();
            else
                box->close();
        },
        &seen);

    QVERIFY(seen.reached);
    QVERIFY(!seen.timedOut);
    QCOMPARE(answer, result);
    // The box is gone, not hidden and kept.
    QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestMessageDlg::titleAndIconFollowKind_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");

    QTest::newRow("warning") << int(mtWarning) << QStringLiteral("Warning") << int(QMessageBox::Warning);
    QTest::newRow("error") << int(mtError) << QStringLiteral("Error") << int(QMessageBox::Critical);
    QTest::newRow("information") << int(mtInformation) << QStringLiteral("Information")
                                 << int(QMessageBox::Information);
    QTest::newRow("confirmation") << int(mtConfirmation) << QStringLiteral("Confirm")
                                  << int(QMessageBox::Question);
    QTest::newRow("plain") << int(mtCustom) << QStringLiteral("Velotrix Test") << int(QMessageBox::NoIcon);
}

void TestMessageDlg::titleAndIconFollowKind()
{
    QFETCH(int, kind);
    QFETCH(QString, title);
    QFETCH(int, icon);

    QGuiApplication::setApplicationDisplayName(QStringLiteral("Velotrix Test"));
    Seen seen;
    runRealBox(
        QStringLiteral("Text"), kind, mbOK, [](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); },
        &seen);
    QVERIFY(seen.reached);
    QCOMPARE(seen.title, title);
    QCOMPARE(int(seen.icon), icon);
}

void TestMessageDlg::centresOnActiveWindow()
{
    QWidget window;
    window.setWindowTitle(QStringLiteral("owner"));
    window.setGeometry(120, 90, 500, 360);
    window.show();
    QApplication::setActiveWindow(&window);
    QVERIFY(QTest::qWaitForWindowActive(&window));

    Seen seen;
    runRealBox(
        QStringLiteral("Transmission successful"), mtInformation, mbOK,
        [](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); }, &seen);
    QVERIFY(seen.reached);
    const QPoint expected = window.frameGeometry().center();
    QVERIFY2((seen.centre - expected).manhattanLength() <= 2,
        qPrintable(QStringLiteral("box centre %1,%2, window centre %3,%4")
                       .arg(seen.centre.x())
                       .arg(seen.centre.y())
                       .arg(expected.x())
                       .arg(expected.y())));
}

void TestMessageDlg::centresOnScreenWithoutActiveWindow()
{
    QVERIFY(QApplication::activeWindow() == nullptr);
    Seen seen;
    runRealBox(
        QStringLiteral("Transmission failed"), mtError, mbOK,
        [](QMessageBox *box) { QTest::keyClick(box, Qt::Key_Return); }, &seen);
    QVERIFY(seen.reached);
    QScreen *screen = QGuiApplication::primaryScreen();
    QVERIFY(screen != nullptr);
    const QPoint expected = screen->availableGeometry().center();
    QVERIFY((seen.centre - expected).manhattanLength() <= 2);
}

QTEST_MAIN(TestMessageDlg)
#include "tst_messagedlg.moc"
