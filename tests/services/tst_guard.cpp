#include "device/devicelink.h"
#include "device/serialport.h"
#include "scriptedprompt.h"
#include "services/guard.h"
#include "setups/inifile.h"

#include <QTest>
#include <QTimer>

class TestGuard : public QObject
{
    Q_OBJECT
public:
    explicit TestGuard(ScriptedPrompt &prompt)
        : m_prompt(prompt)
    {
    }

private Q_SLOTS:
    void init()
    {
        m_prompt = ScriptedPrompt();
        m_prompt.setNextAnswer(mrOk);
    }

    void errorsAreShown_data();
    void errorsAreShown();
    void eventHandlerErrorDoesNotEscape();

private:
    ScriptedPrompt &m_prompt;
};

void TestGuard::errorsAreShown_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("text");

    QTest::newRow("no error") << 0 << QString();
    QTest::newRow("serial port") << 1 << "cannot open ttyUSB0";
    QTest::newRow("INI conversion") << 2 << "\"xyz\" is not a valid integer value";
    QTest::newRow("non-ASCII text") << 3 << "Zugriff verweigert: Schnittstelle belegt – ä";
    QTest::newRow("not a std::exception") << 4 << "An unknown error occurred.";
}

void TestGuard::errorsAreShown()
{
    QFETCH(int, error);
    QFETCH(QString, text);

    bool ranAfter = false;
    runGuarded(m_prompt, [&] {
        switch (error) {
        case 1:
            throw SerialPortError(text);
        case 2:
            throw IniConversionError(text);
        case 3:
            throw std::runtime_error(text.toStdString());
        case 4:
            throw 42;
        default:
            break;
        }
        ranAfter = true;
    });

    const auto shown = m_prompt.shown;
    if (error == 0) {
        QVERIFY(ranAfter);
        QVERIFY(shown.isEmpty());
        return;
    }
    QVERIFY(!ranAfter);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text, text);
    QCOMPARE(shown.first().kind, mtError);
    QCOMPARE(shown.first().buttons, MsgDlgButtons(mbOK));
}

// A handler that throws from inside the event loop is reported and the loop
// goes on running.
void TestGuard::eventHandlerErrorDoesNotEscape()
{
    bool later = false;
    QTimer::singleShot(0, qApp, [] { throw SerialPortError(QStringLiteral("port vanished")); });
    QTimer::singleShot(10, qApp, [&] { later = true; });
    QTRY_VERIFY(later);
    const auto shown = m_prompt.shown;
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text, QStringLiteral("port vanished"));
}

int main(int argc, char **argv)
{
    ScriptedPrompt prompt;
    GuardedApplication app(argc, argv, prompt);
    TestGuard test(prompt);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_guard.moc"
