#include "app/appwindows.h"
#include "app/mainform.h"
#include "device/batteryform.h"
#include "device/pin_dlg.h"
#include "devicewindows.h"
#include "services/messagedlg.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// Read, write, reset and the battery query as the main window runs them:
// confirmations, messages, the PIN gate and the Communication flag, against
// the emulated device. Expected wire bytes use the emulator's own CRC.
namespace {

using Messages = QList<ScriptedPrompt::Shown>;

const QString overwriteQuestion = QStringLiteral("This will overwrite the parameters on Velotrix. Continue?");

QByteArray withCrc(const QByteArray &block)
{
    return block + QByteArray(1, static_cast<char>(VelotrixEmulator::crc8(block)));
}

// Every byte differs from its neighbours. Built through the records, so the
// image holds what the records send (flags as 0 or 1).
tParameterSet patternParams(int seed)
{
    QByteArray image(VelotrixEmulator::ParameterSize, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>((i * 13 + seed) & 0xFF);
    tParameterSet p;
    p.setModeBytes(image.left(VelotrixEmulator::SpecialActionOffset));
    p.SpecialActionDesc = tSpecialActionDesc::fromBytes(
        image.mid(VelotrixEmulator::SpecialActionOffset, VelotrixEmulator::SpecialActionSize));
    p.AlarmSettings
        = tAlarmSettings::fromBytes(image.mid(VelotrixEmulator::AlarmOffset, VelotrixEmulator::AlarmSize));
    p.AntiTremor = tAntiTremor::fromBytes(
        image.mid(VelotrixEmulator::AntiTremorOffset, VelotrixEmulator::AntiTremorSize));
    return p;
}

QByteArray imageOf(const tParameterSet &p)
{
    return p.modeBytes() + p.SpecialActionDesc.toBytes() + p.AlarmSettings.toBytes() + p.AntiTremor.toBytes();
}

QStringList texts(const Messages &messages)
{
    QStringList result;
    for (const auto &m : messages)
        result.append(m.text);
    return result;
}

void expectInformation(const ScriptedPrompt::Shown &m, const QString &text)
{
    QCOMPARE(m.text, text);
    QCOMPARE(m.kind, mtInformation);
    QCOMPARE(m.buttons, MsgDlgButtons(mbOK));
}

void expectConfirmation(const ScriptedPrompt::Shown &m, const QString &text)
{
    QCOMPARE(m.text, text);
    QCOMPARE(m.kind, mtConfirmation);
    QCOMPARE(m.buttons, MsgDlgButtons(mbYesNo));
}

} // namespace

class TestDeviceActions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void writeSendsEveryBlock_data();
    void writeSendsEveryBlock();
    void writeEndsAtRejectedBlock();
    void writeDeclined();
    void readThreeModes();
    void failedRead_data();
    void failedRead();
    void readDeclined();
    void reset_data();
    void reset();
    void pinGate_data();
    void pinGate();
    void battery_data();
    void battery();
    void portErrorsReachTheErrorBox();
    void unplugDuringGuardedExchange_data();
    void unplugDuringGuardedExchange();
};

void TestDeviceActions::cleanup() { }

void TestDeviceActions::writeSendsEveryBlock_data()
{
    QTest::addColumn<int>("modes");
    QTest::newRow("one mode") << 1;
    QTest::newRow("five modes") << 5;
}

void TestDeviceActions::writeSendsEveryBlock()
{
    QFETCH(int, modes);
    DeviceWindows d;
    d.connect();
    d.main().Params = patternParams(5);
    // The editor shows the modes; the write sends what it shows.
    d.main().ReadFromDataStructs(modes);
    d.prompt.setNextAnswer(mrYes);
    d.prompt.setNextAnswer(mrOk);

    d.main().Action_WritetovelotrixExecute();

    const tParameterSet &p = d.main().Params;
    QByteArray expected = QByteArrayLiteral("*0") + QByteArray(1, static_cast<char>(modes));
    for (int i = 0; i < modes; ++i)
        expected += withCrc(p.ModeDescriptor[std::size_t(i)].toBytes());
    expected += withCrc(p.SpecialActionDesc.toBytes());
    expected += withCrc(p.AlarmSettings.toBytes());
    expected += withCrc(p.AntiTremor.toBytes());
    QCOMPARE(d.emulator.received().toHex(' '), expected.toHex(' '));
    QCOMPARE(d.emulator.modeCount(), modes);

    const Messages shown = d.prompt.shown;
    QCOMPARE(shown.size(), 2);
    expectConfirmation(shown[0], overwriteQuestion);
    expectInformation(shown[1], QStringLiteral("Transmission successful"));
}

void TestDeviceActions::writeEndsAtRejectedBlock()
{
    DeviceWindows d;
    d.connect();
    d.main().ReadFromDataStructs(2);
    d.emulator.setWriteError(3);
    d.prompt.setNextAnswer(mrYes);
    d.prompt.setNextAnswer(mrOk);

    d.main().Action_WritetovelotrixExecute();
    QTest::qWait(300);

    // "*0" + count, the two modes and the special action, nothing after the
    // rejected block.
    const int expectedSize
        = 3 + 2 * (VelotrixEmulator::ModeSize + 1) + VelotrixEmulator::SpecialActionSize + 1;
    QCOMPARE(d.emulator.received().size(), expectedSize);
    QCOMPARE(
        texts(d.prompt.shown), QStringList({ overwriteQuestion, QStringLiteral("Transmission failed") }));
}

void TestDeviceActions::writeDeclined()
{
    DeviceWindows d;
    d.connect();
    d.prompt.setNextAnswer(mrNo);
    d.prompt.setNextAnswer(mrOk);

    d.main().Action_WritetovelotrixExecute();
    QTest::qWait(100);

    QVERIFY(d.emulator.received().isEmpty());
    const Messages shown = d.prompt.shown;
    QCOMPARE(shown.size(), 2);
    expectInformation(shown[1], QStringLiteral("Transmission failed"));
}

void TestDeviceActions::readThreeModes()
{
    DeviceWindows d;
    const tParameterSet device = patternParams(11);
    d.emulator.setParameters(imageOf(device));
    d.emulator.setModeCount(3);
    d.connect();
    const tParameterSet before = patternParams(99);
    d.main().Params = before;
    d.prompt.setNextAnswer(mrYes);
    d.prompt.setNextAnswer(mrOk);

    d.main().Action_ReadFromVelotrixExecute();

    QCOMPARE(d.main().Params.ModeCount, 3);
    const tParameterSet &p = d.main().Params;
    for (int i = 0; i < 3; ++i)
        QCOMPARE(p.ModeDescriptor[std::size_t(i)].toBytes(), d.emulator.modeBlock(i));
    // Modes the device did not send keep their bytes.
    QCOMPARE(p.ModeDescriptor[3], before.ModeDescriptor[3]);
    QCOMPARE(p.SpecialActionDesc.toBytes(), d.emulator.specialActionBlock());
    QCOMPARE(p.AlarmSettings.toBytes(), d.emulator.alarmBlock());
    QCOMPARE(p.AntiTremor.toBytes(), d.emulator.antiTremorBlock());
    // "*1", then one acknowledgement per block: three modes and three more.
    QTRY_COMPARE(d.emulator.received(), QByteArray("*1") + QByteArray("*OK").repeated(6));

    const Messages shown = d.prompt.shown;
    QCOMPARE(shown.size(), 2);
    // The question stays in English whatever the language.
    expectConfirmation(shown[0], QStringLiteral("Overwrite parameters?"));
    expectInformation(shown[1], QStringLiteral("Transmission successful"));
}

void TestDeviceActions::failedRead_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QByteArray>("sent");

    QTest::newRow("bad CRC in a mode block") << "crc1" << QByteArray("*1*ER");
    QTest::newRow("bad CRC in the last block") << "crc5" << QByteArray("*1*OK*OK*OK*OK*ER");
    QTest::newRow("silent device") << "silent" << QByteArray("*1");
    QTest::newRow("reply cut inside a block") << "short" << QByteArray("*1");
    QTest::newRow("wrong header") << "header" << QByteArray("*1");
    QTest::newRow("claims 7 modes") << "seven" << QByteArray("*1");
    QTest::newRow("claims 0 modes") << "zero" << QByteArray("*1");
}

void TestDeviceActions::failedRead()
{
    QFETCH(QString, fault);
    QFETCH(QByteArray, sent);

    DeviceWindows d;
    d.emulator.setParameters(imageOf(patternParams(3)));
    d.emulator.setModeCount(2);
    d.connect();
    tParameterSet before = patternParams(77);
    before.ModeCount = 4;
    d.main().Params = before;

    if (fault == QLatin1String("crc1"))
        d.emulator.setBadReadCrc(1);
    else if (fault == QLatin1String("crc5"))
        d.emulator.setBadReadCrc(5);
    else if (fault == QLatin1String("silent"))
        d.emulator.setSilent(true);
    else if (fault == QLatin1String("short"))
        d.emulator.setShortReply('1', 3 + 10);
    else if (fault == QLatin1String("header"))
        d.emulator.setWrongHeader('1', QByteArrayLiteral("*X"));
    else if (fault == QLatin1String("seven"))
        d.emulator.setClaimedModeCount(7);
    else if (fault == QLatin1String("zero"))
        d.emulator.setClaimedModeCount(0);
    d.prompt.setNextAnswer(mrYes);
    d.prompt.setNextAnswer(mrOk);

    d.main().Action_ReadFromVelotrixExecute();
    QTest::qWait(100);

    // The host's last "*ER" or "*OK" reaches the emulator's thread in its
    // own time.
    QTRY_COMPARE(d.emulator.received(), sent);
    QVERIFY(d.main().Params == before);
    QCOMPARE(d.main().Params.ModeCount, 4);
    const Messages shown = d.prompt.shown;
    QCOMPARE(shown.size(), 2);
    expectInformation(shown[1], QStringLiteral("Transmission failed"));
}

void TestDeviceActions::readDeclined()
{
    DeviceWindows d;
    d.connect();
    d.prompt.setNextAnswer(mrNo);

    d.main().Action_ReadFromVelotrixExecute();
    QTest::qWait(100);

    QVERIFY(d.emulator.received().isEmpty());
    QCOMPARE(d.prompt.shown.size(), 1);
}

void TestDeviceActions::reset_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<bool>("silent");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QStringList>("messages");

    const QStringList confirmed { overwriteQuestion, QStringLiteral("Velotrix was reset.") };
    QTest::newRow("device resets") << int(mrYes) << false << false << QByteArray("*R") << confirmed;
    QTest::newRow("no answer") << int(mrYes) << false << true << QByteArray("*R")
                               << QStringList { overwriteQuestion };
    QTest::newRow("declined") << int(mrNo) << false << false << QByteArray()
                              << QStringList { overwriteQuestion };
    QTest::newRow("another exchange running")
        << int(mrYes) << true << false << QByteArray() << QStringList { overwriteQuestion };
}

void TestDeviceActions::reset()
{
    QFETCH(int, answer);
    QFETCH(bool, busy);
    QFETCH(bool, silent);
    QFETCH(QByteArray, sent);
    QFETCH(QStringList, messages);

    DeviceWindows d;
    d.emulator.setModeCount(3);
    d.connect();
    d.emulator.setSilent(silent);
    d.link().Communication = busy;
    const tParameterSet before = patternParams(1);
    d.main().Params = before;
    d.prompt.setNextAnswer(MsgDlgResult(answer));
    d.prompt.setNextAnswer(mrOk);

    d.main().Action_ResetParameterExecute();
    QTest::qWait(100);

    QCOMPARE(d.emulator.received(), sent);
    QCOMPARE(texts(d.prompt.shown), messages);
    if (messages.size() == 2)
        QCOMPARE(d.prompt.shown[1].kind, mtWarning);
    // The reset leaves the working records alone; the flag is only released
    // by the exchange that took it.
    QVERIFY(d.main().Params == before);
    QCOMPARE(d.link().Communication, busy);
    if (!silent && !sent.isEmpty())
        QCOMPARE(d.emulator.modeCount(), VelotrixEmulator::FactoryModeCount);
}

void TestDeviceActions::pinGate_data()
{
    QTest::addColumn<bool>("locked");
    QTest::addColumn<int>("devicePin");
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QStringList>("typed"); // one entry per showing; "" cancels
    QTest::addColumn<QByteArray>("checks"); // the "*X" commands sent
    QTest::addColumn<bool>("proceeds");

    const QByteArray x1234 = QByteArray::fromHex("2A5804D2");
    const QByteArray x1111 = QByteArray::fromHex("2A580457");

    QTest::newRow("not locked") << false << 1234 << QString() << QStringList() << QByteArray() << true;
    QTest::newRow("remembered PIN right") << true << 1234 << "1234" << QStringList() << x1234 << true;
    QTest::newRow("remembered PIN wrong, typed right")
        << true << 1234 << "1111" << QStringList { QStringLiteral("1234") } << (x1111 + x1234) << true;
    QTest::newRow("wrong twice, then right")
        << true << 1234 << QString() << QStringList { QStringLiteral("1111"), QStringLiteral("1234") }
        << (QByteArray::fromHex("2A580000") + x1111 + x1234) << true;
    QTest::newRow("cancelled") << true << 1234 << "1111" << QStringList { QString() } << x1111 << false;
    QTest::newRow("leading zeros") << true << 42 << "0042" << QStringList() << QByteArray::fromHex("2A58002A")
                                   << true;
}

void TestDeviceActions::pinGate()
{
    QFETCH(bool, locked);
    QFETCH(int, devicePin);
    QFETCH(QString, remembered);
    QFETCH(QStringList, typed);
    QFETCH(QByteArray, checks);
    QFETCH(bool, proceeds);

    DeviceWindows d;
    d.emulator.setBuild(8);
    d.emulator.setPin(quint16(devicePin));
    d.emulator.setLocked(locked);
    d.connect();
    QCOMPARE(d.link().PIN_Protected, locked);

    TPIN_Dlg *pinDialog = d.windows().PIN_Dlg;
    pinDialog->Password->setText(remembered);
    d.session().setRememberedPin(remembered);
    QStringList editOnShow;
    for (const QString &pin : typed) {
        d.prompt.queueStep([pin, &editOnShow](QDialog &dlg) {
            auto &pd = static_cast<TPIN_Dlg &>(dlg);
            editOnShow.append(pd.Password->text());
            if (pin.isEmpty()) {
                pd.CancelBtn->click();
                return;
            }
            pd.Password->setText(pin);
            pd.OKBtn->click();
        });
    }
    d.prompt.setNextAnswer(mrYes);
    d.prompt.setNextAnswer(mrOk);

    d.main().Action_WritetovelotrixExecute();

    QCOMPARE(d.prompt.dialogs.size(), typed.size());
    // The edit still shows the text typed at the previous showing.
    if (!typed.isEmpty())
        QCOMPARE(editOnShow.first(), remembered);
    const QByteArray received = d.emulator.received();
    QCOMPARE(received.left(checks.size()).toHex(' '), checks.toHex(' '));
    if (proceeds) {
        QCOMPARE(received.mid(checks.size(), 3), QByteArray("*0\x01"));
        QCOMPARE(texts(d.prompt.shown),
            QStringList({ overwriteQuestion, QStringLiteral("Transmission successful") }));
        if (!typed.isEmpty())
            QCOMPARE(d.session().rememberedPin(), typed.last());
    } else {
        QCOMPARE(received.size(), checks.size());
        QVERIFY(d.prompt.shown.isEmpty());
    }
}

void TestDeviceActions::battery_data()
{
    QTest::addColumn<int>("reading");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<QString>("label"); // battery window's text; empty: no window
    QTest::addColumn<bool>("warning");

    QTest::newRow("charged") << 3900 << QString() << false << "70%" << false;
    QTest::newRow("flat") << 1 << QString() << false << "0%" << false;
    QTest::newRow("no measurement") << 0 << QString() << false << QString() << true;
    QTest::newRow("wrong header") << 3900 << "header" << false << QString() << false;
    QTest::newRow("one byte of the reading") << 3900 << "short" << false << QString() << false;
    QTest::newRow("silent device") << 3900 << "silent" << false << QString() << false;
    QTest::newRow("another exchange running") << 3900 << QString() << true << QString() << false;
}

void TestDeviceActions::battery()
{
    QFETCH(int, reading);
    QFETCH(QString, fault);
    QFETCH(bool, busy);
    QFETCH(QString, label);
    QFETCH(bool, warning);

    DeviceWindows d;
    d.emulator.setBattery(quint16(reading));
    d.connect();
    if (fault == QLatin1String("header"))
        d.emulator.setWrongHeader('B', QByteArrayLiteral("*X"));
    else if (fault == QLatin1String("short"))
        d.emulator.setShortReply('B', 3);
    else if (fault == QLatin1String("silent"))
        d.emulator.setSilent(true);
    d.link().Communication = busy;

    QString shownText;
    bool heldWhileOpen = false;
    d.prompt.queueStep([&](QDialog &dlg) {
        auto &form = static_cast<TBatteryform &>(dlg);
        shownText = form.Label1->text();
        heldWhileOpen = d.link().Communication;
        form.BitBtn1->click();
    });
    d.prompt.setNextAnswer(mrOk);

    QElapsedTimer timer;
    timer.start();
    d.main().Action_BatteryFuelGaugeExecute();
    const qint64 elapsed = timer.elapsed();

    QCOMPARE(d.emulator.received(), busy ? QByteArray() : QByteArray("*B"));
    QCOMPARE(d.prompt.dialogs.size(), label.isEmpty() ? 0 : 1);
    QCOMPARE(shownText, label);
    if (!label.isEmpty())
        QVERIFY(heldWhileOpen);
    const Messages shown = d.prompt.shown;
    QCOMPARE(shown.size(), warning ? 1 : 0);
    if (warning) {
        QCOMPARE(shown[0].text, QStringLiteral("Please unplug Velotrix for 5 seconds and try again."));
        QCOMPARE(shown[0].kind, mtWarning);
        QCOMPARE(shown[0].buttons, MsgDlgButtons(mbOK));
    }
    // Every request that ran ends with the device's rest; a refused one
    // returns at once and leaves the flag to its owner.
    if (busy) {
        QVERIFY(elapsed < 500);
        QVERIFY(d.link().Communication);
    } else {
        QVERIFY2(elapsed >= 1150, qPrintable(QString::number(elapsed)));
        QVERIFY(!d.link().Communication);
    }
}

void TestDeviceActions::portErrorsReachTheErrorBox()
{
    DeviceWindows d;
    d.connect();
    d.main().ActionList1Update();
    QVERIFY(d.main().Action_ReadFromVelotrix->isEnabled());
    d.emulator.hangUpNow();
    d.prompt.setNextAnswer(mrYes);
    d.prompt.setNextAnswer(mrOk);

    // Through the action, as the toolbar and F3 run it.
    d.main().Action_ReadFromVelotrix->trigger();

    const Messages shown = d.prompt.shown;
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[1].kind, mtError);
    QVERIFY(!shown[1].text.isEmpty());
}

void TestDeviceActions::unplugDuringGuardedExchange_data()
{
    QTest::addColumn<char>("command");
    QTest::addColumn<int>("errorBoxes");

    // The reset lets the port error reach the error box; the battery query
    // drops it silently.
    QTest::newRow("reset") << 'R' << 1;
    QTest::newRow("battery") << 'B' << 0;
}

// The device goes away in the middle of an exchange that holds the
// Communication flag: the flag is released, the window shows the port as
// closed and the device actions are disabled.
void TestDeviceActions::unplugDuringGuardedExchange()
{
    QFETCH(char, command);
    QFETCH(int, errorBoxes);

    DeviceWindows d;
    d.connect();
    d.main().ActionList1Update();
    d.emulator.setHangUp(command, 1);
    d.prompt.setNextAnswer(mrYes);
    d.prompt.setNextAnswer(mrOk);

    (command == 'R' ? d.main().Action_ResetParameter : d.main().Action_BatteryFuelGauge)->trigger();

    QVERIFY(d.emulator.hungUp());
    QVERIFY(!d.link().Communication);
    QVERIFY(!d.main().port().isOpen());
    QCOMPARE(d.main().VersionLabel->text(), QStringLiteral("not connected"));
    d.main().ActionList1Update();
    QVERIFY(!d.main().Action_ResetParameter->isEnabled());
    QVERIFY(!d.main().Action_BatteryFuelGauge->isEnabled());
    int shownErrors = 0;
    for (const auto &m : d.prompt.shown)
        shownErrors += m.kind == mtError ? 1 : 0;
    QCOMPARE(shownErrors, errorBoxes);
}

QTEST_MAIN(TestDeviceActions)
#include "tst_deviceactions.moc"
