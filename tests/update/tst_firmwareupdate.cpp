#include "updaterig.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

// The firmware update window against the emulated device, the fake hot-plug
// source and the test's own dfu-programmer in the firmware folder.
namespace {

QStringList names(std::initializer_list<const char *> items)
{
    QStringList result;
    for (const char *item : items)
        result.append(QString::fromUtf8(item));
    return result;
}

// Shows the window through its action, as the user does, and presses the
// update button once the window is up.
void runUpdateThroughAction(UpdateRig &rig)
{
    rig.prompt.queueStep([](QDialog &dialog) {
        auto *proceed = dialog.findChild<QToolButton *>(QStringLiteral("ProceedUpdateButton"));
        QVERIFY(proceed && proceed->isEnabled());
        QTest::mouseClick(proceed, Qt::LeftButton);
        dialog.setResult(QDialog::Accepted);
    });
    rig.main().ActionList1Update();
    QVERIFY(rig.main().Action_FirmwareUpdate->isEnabled());
    rig.main().Action_FirmwareUpdate->trigger();
}

} // namespace

class TestFirmwareUpdate : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void automaticChoice_data();
    void automaticChoice();
    void update_data();
    void update();
    void badFileIsRefusedBeforeTheDevice_data();
    void badFileIsRefusedBeforeTheDevice();
    void missingTool();
    void bootloaderTimeout();
    void cancelEndsTheWait();
    void hangingToolFails();
    void explicitModeWithoutSelection();
};

void TestFirmwareUpdate::automaticChoice_data()
{
    QTest::addColumn<int>("variation");
    QTest::addColumn<int>("build");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("chosen");

    QTest::newRow("newer build") << 3 << 10 << names({ "Velotrix_V1.3.07.hex", "Velotrix_V1.3.12.hex" })
                                 << QStringLiteral("Velotrix_V1.3.12.hex");
    QTest::newRow("nothing newer") << 3 << 12 << names({ "Velotrix_V1.3.07.hex", "Velotrix_V1.3.12.hex" })
                                   << QString();
    QTest::newRow("first newer in name order")
        << 3 << 10 << names({ "Velotrix_V1.3.12.hex", "Velotrix_V1.3.11.hex" })
        << QStringLiteral("Velotrix_V1.3.11.hex");
    QTest::newRow("non-digit build skipped")
        << 3 << 10 << names({ "Velotrix_V1.3.xx.hex", "Velotrix_V1.3.12.hex" })
        << QStringLiteral("Velotrix_V1.3.12.hex");
    QTest::newRow("two-digit variation") << 12 << 1 << names({ "Velotrix_V1.12.15.hex" }) << QString();
    QTest::newRow("other variation only") << 3 << 1 << names({ "Velotrix_V1.4.15.hex" }) << QString();
    QTest::newRow("no firmware folder") << 3 << 1 << QStringList() << QString();
}

void TestFirmwareUpdate::automaticChoice()
{
    QFETCH(int, variation);
    QFETCH(int, build);
    QFETCH(QStringList, files);
    QFETCH(QString, chosen);
    UpdateRig rig(variation, build);
    for (const QString &f : files)
        rig.put(f, validHex());
    rig.update().Filelabel->setText(QStringLiteral("kept"));
    rig.update().ShowModal();
    QCOMPARE(rig.update().ProceedUpdateButton->isEnabled(), !chosen.isEmpty());
    QCOMPARE(rig.update().Filelabel->text(), chosen.isEmpty() ? QStringLiteral("kept") : chosen);
    QVERIFY(rig.update().OKImage->isHidden());
    QVERIFY(rig.update().FailImage->isHidden());
    QVERIFY(rig.prompt.dialogs.contains(QStringLiteral("FormFirmwareUpdate")));
    QVERIFY(!rig.prompt.dialogs.contains(QStringLiteral("FormFirmwareFiles")));
}

void TestFirmwareUpdate::update_data()
{
    QTest::addColumn<QByteArray>("version");
    QTest::addColumn<QByteArray>("mode");
    // 0 automatic, 1 explicit, 2 explicit with "Flash_EEPROM", 3 as 2 with
    // the ".eep" beside the file
    QTest::addColumn<int>("setting");
    QTest::addColumn<QStringList>("steps"); // the tool's commands after --version
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("permissionHint");

    const char *flash06 = "flash --suppress-bootloader-mem --suppress-validation";
    const char *flash07 = "flash --force --suppress-bootloader-mem --suppress-validation";
    QTest::newRow("0.6.1 automatic") << QByteArray("0.6.1") << QByteArray("ok") << 0
                                     << names({ flash06, "start" }) << true << false;
    QTest::newRow("0.7.2 automatic") << QByteArray("0.7.2") << QByteArray("ok") << 0
                                     << names({ flash07, "launch --no-reset" }) << true << false;
    QTest::newRow("0.6.1 flash fails") << QByteArray("0.6.1") << QByteArray("fail-flash") << 0
                                       << names({ flash06, "start" }) << false << false;
    QTest::newRow("0.7.2 flash fails") << QByteArray("0.7.2") << QByteArray("fail-flash") << 0
                                       << names({ flash07, "launch --no-reset" }) << false << false;
    QTest::newRow("0.7.2 Success without space") << QByteArray("0.7.2") << QByteArray("nospace") << 0
                                                 << names({ flash07, "launch --no-reset" }) << false << false;
    QTest::newRow("0.6.1 bootloader not accessible")
        << QByteArray("0.6.1") << QByteArray("nodevice") << 0 << names({ flash06, "start" }) << false << true;
    QTest::newRow("0.6.1 carriage-return progress") << QByteArray("0.6.1") << QByteArray("crprogress") << 0
                                                    << names({ flash06, "start" }) << true << false;
    QTest::newRow("explicit, no EEPROM") << QByteArray("0.7.2") << QByteArray("ok") << 1
                                         << names({ flash07, "launch --no-reset" }) << true << false;
    QTest::newRow("explicit, EEPROM set, no .eep")
        << QByteArray("0.7.2") << QByteArray("ok") << 2 << names({ flash07, "launch --no-reset" }) << true
        << false;
    QTest::newRow("0.7.2 explicit with .eep")
        << QByteArray("0.7.2") << QByteArray("ok") << 3
        << names({ flash07, "flash --force --eeprom --suppress-validation", "launch --no-reset" }) << true
        << false;
    QTest::newRow("0.6.1 explicit with .eep")
        << QByteArray("0.6.1") << QByteArray("ok") << 3
        << names({ flash06, "flash-eeprom --suppress-validation", "start" }) << true << false;
    // The flash was good; the failed EEPROM step alone makes the update fail.
    QTest::newRow("0.7.2 EEPROM step fails")
        << QByteArray("0.7.2") << QByteArray("fail-eeprom") << 3
        << names({ flash07, "flash --force --eeprom --suppress-validation", "launch --no-reset" }) << false
        << false;
    QTest::newRow("0.6.1 EEPROM step fails")
        << QByteArray("0.6.1") << QByteArray("fail-eeprom") << 3
        << names({ flash06, "flash-eeprom --suppress-validation", "start" }) << false << false;
}

void TestFirmwareUpdate::update()
{
    QFETCH(QByteArray, version);
    QFETCH(QByteArray, mode);
    QFETCH(int, setting);
    QFETCH(QStringList, steps);
    QFETCH(bool, ok);
    QFETCH(bool, permissionHint);

    UpdateRig rig(3, 10);
    rig.put(QStringLiteral("Velotrix_V1.3.07.hex"), validHex());
    rig.put(QStringLiteral("Velotrix_V1.3.11.hex"), validHex());
    if (setting == 3)
        rig.put(QStringLiteral("Velotrix_V1.3.07.eep"), validHex());
    rig.installTool(version.constData(), mode.constData());
    const QString file = rig.folder()
        + (setting == 0 ? QStringLiteral("Velotrix_V1.3.11.hex") : QStringLiteral("Velotrix_V1.3.07.hex"));
    if (setting > 0) {
        rig.config().writeBool(QStringLiteral("Application"), QStringLiteral("Flash_Explicit"), true);
        rig.config().writeBool(QStringLiteral("Application"), QStringLiteral("Flash_EEPROM"), setting >= 2);
        // The user picks the older file in the selection window.
        rig.prompt.queueStep([](QDialog &dialog) {
            auto *list = dialog.findChild<QListWidget *>(QStringLiteral("FileListBox"));
            QCOMPARE(list->count(), 2);
            list->setCurrentRow(0);
            QTest::mouseClick(
                dialog.findChild<QToolButton *>(QStringLiteral("SelectButton")), Qt::LeftButton);
        });
    }
    runUpdateThroughAction(rig);

    QCOMPARE(rig.emulator.received(), QByteArray("*U"));
    QCOMPARE(rig.update().lastUpdateSucceeded(), ok);
    QCOMPARE(!rig.update().OKImage->isHidden(), ok);
    QCOMPARE(!rig.update().FailImage->isHidden(), !ok);
    QVERIFY(rig.update().Memo1->isHidden());
    QVERIFY(rig.update().ProceedUpdateButton->isEnabled());
    QVERIFY(rig.update().CloseButton->isEnabled());
    QCOMPARE(rig.update().Filelabel->text(), QFileInfo(file).fileName());

    // The launch runs detached: wait until it has logged its call.
    QTRY_COMPARE(rig.calls().size(), steps.size() + 1);
    QStringList expected { QStringLiteral("--version") };
    for (const QString &step : steps) {
        QString line = QStringLiteral("atxmega32a4u ") + step;
        if (step.startsWith(QStringLiteral("flash")))
            line += QLatin1Char(' ') + (step.contains(QStringLiteral("eeprom")) ? eepromPathOf(file) : file);
        expected.append(line);
    }
    QCOMPARE(rig.calls(), expected);

    const QStringList memo = rig.update().lastUpdateOutput();
    QVERIFY(memo.first().startsWith(QStringLiteral("Waiting for device .")));
    QVERIFY(memo.contains(QStringLiteral("Writing ROM.")));
    QCOMPARE(memo.contains(QStringLiteral("Writing EEPROM.")), steps.size() == 3);
    QCOMPARE(memo.last(), QStringLiteral("Reset...."));
    if (version == "0.7.2" && mode == "ok")
        QVERIFY(memo.contains(QStringLiteral("[>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>>]  Success")));
    if (mode == "crprogress") {
        // The counter overwrites its line instead of adding one per step.
        QVERIFY(memo.contains(QStringLiteral("100%")));
        QVERIFY(!memo.contains(QStringLiteral(" 50%")));
        QVERIFY(!memo.contains(QStringLiteral("  0%")));
    }
    if (ok) {
        QVERIFY(rig.prompt.shown.isEmpty());
    } else {
        QCOMPARE(rig.prompt.shown.size(), 1);
        QVERIFY(rig.prompt.texts().first().startsWith(QStringLiteral("The firmware update failed.")));
        QCOMPARE(rig.prompt.texts().first().contains(QStringLiteral("70-velotrix.rules")), permissionHint);
    }
}

void TestFirmwareUpdate::badFileIsRefusedBeforeTheDevice_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("eepromBroken");
    QTest::newRow("checksum") << QByteArray(validHex()).replace("78\r\n", "77\r\n") << false;
    QTest::newRow("no end record") << QByteArray(validHex()).replace(":00000001FF\r\n", "") << false;
    QTest::newRow("text file") << QByteArray("hello\n") << false;
    QTest::newRow("EEPROM image beyond 1 KiB") << validHex() << true;
}

void TestFirmwareUpdate::badFileIsRefusedBeforeTheDevice()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, eepromBroken);
    UpdateRig rig(3, 10);
    rig.installTool("0.7.2", "ok");
    rig.put(QStringLiteral("Velotrix_V1.3.11.hex"), content);
    if (eepromBroken) {
        rig.config().writeBool(QStringLiteral("Application"), QStringLiteral("Flash_Explicit"), true);
        rig.config().writeBool(QStringLiteral("Application"), QStringLiteral("Flash_EEPROM"), true);
        rig.put(QStringLiteral("Velotrix_V1.3.11.eep"), ":0104000000FB\r\n:00000001FF\r\n");
        rig.prompt.queueStep([](QDialog &dialog) {
            dialog.findChild<QListWidget *>(QStringLiteral("FileListBox"))->setCurrentRow(0);
            dialog.accept();
        });
    }
    runUpdateThroughAction(rig);
    QCOMPARE(rig.emulator.received(), QByteArray());
    QCOMPARE(rig.calls(), QStringList());
    QCOMPARE(rig.prompt.shown.size(), 1);
    QVERIFY(rig.prompt.texts().first().contains(
        eepromBroken ? QStringLiteral("Velotrix_V1.3.11.eep") : QStringLiteral("Velotrix_V1.3.11.hex")));
    QCOMPARE(rig.prompt.shown.first().kind, mtError);
    QVERIFY(rig.update().ProceedUpdateButton->isEnabled());
}

void TestFirmwareUpdate::missingTool()
{
    UpdateRig rig(3, 10);
    rig.put(QStringLiteral("Velotrix_V1.3.11.hex"), validHex());
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent");
    runUpdateThroughAction(rig);
    qputenv("PATH", path);
    QCOMPARE(rig.emulator.received(), QByteArray());
    QCOMPARE(rig.prompt.texts(), names({ "dfu-programmer was not found. Please install it." }));
    QVERIFY(rig.update().Memo1->toPlainText().contains(QStringLiteral("dfu-programmer was not found.")));
}

void TestFirmwareUpdate::bootloaderTimeout()
{
    UpdateRig rig(3, 10);
    rig.put(QStringLiteral("Velotrix_V1.3.11.hex"), validHex());
    rig.installTool("0.7.2", "ok");
    rig.bootloaderAnswers = false;
    rig.update().BootloaderTimeout_ms = 400;
    QElapsedTimer timer;
    timer.start();
    runUpdateThroughAction(rig);
    QVERIFY(timer.elapsed() >= 400);
    QCOMPARE(rig.emulator.received(), QByteArray("*U"));
    QCOMPARE(rig.calls(), names({ "--version" }));
    QCOMPARE(rig.prompt.texts(),
        names({ "The device did not start its bootloader. Please unplug it, plug it in again and retry." }));
    // One dot every 100 ms on the first line.
    QVERIFY(rig.update().Memo1->toPlainText().startsWith(QStringLiteral("Waiting for device ....")));
    QVERIFY(rig.update().OKImage->isHidden());
    QVERIFY(rig.update().CloseButton->isEnabled());
}

void TestFirmwareUpdate::cancelEndsTheWait()
{
    UpdateRig rig(3, 10);
    rig.put(QStringLiteral("Velotrix_V1.3.11.hex"), validHex());
    rig.installTool("0.7.2", "ok");
    rig.bootloaderAnswers = false;
    bool cancelShown = false;
    QTimer::singleShot(300, [&rig, &cancelShown] {
        cancelShown = rig.update().CancelButton->isVisibleTo(&rig.update());
        QVERIFY(!rig.update().CloseButton->isEnabled());
        QTest::mouseClick(rig.update().CancelButton, Qt::LeftButton);
    });
    QElapsedTimer timer;
    timer.start();
    runUpdateThroughAction(rig);
    QVERIFY(cancelShown);
    QVERIFY(timer.elapsed() < 5000);
    QVERIFY(rig.update().StopUpdate);
    QCOMPARE(rig.calls(), names({ "--version" }));
    QVERIFY(rig.update().Memo1->toPlainText().contains(QStringLiteral("The update was cancelled.")));
    QVERIFY(rig.update().CancelButton->isHidden());
    QVERIFY(rig.update().ProceedUpdateButton->isEnabled());
}

void TestFirmwareUpdate::hangingToolFails()
{
    UpdateRig rig(3, 10);
    rig.put(QStringLiteral("Velotrix_V1.3.11.hex"), validHex());
    rig.installTool("0.7.2", "hang");
    rig.update().Runner.timeoutMs = 500;
    runUpdateThroughAction(rig);
    QVERIFY(!rig.update().lastUpdateSucceeded());
    QVERIFY(!rig.update().FailImage->isHidden());
    QVERIFY(rig.update().lastUpdateOutput().contains(
        QStringLiteral("dfu-programmer did not finish in time and was stopped.")));
}

void TestFirmwareUpdate::explicitModeWithoutSelection()
{
    UpdateRig rig(3, 10);
    rig.put(QStringLiteral("Velotrix_V1.3.11.hex"), validHex());
    rig.installTool("0.7.2", "ok");
    rig.config().writeBool(QStringLiteral("Application"), QStringLiteral("Flash_Explicit"), true);
    // The selection window is closed without a choice.
    rig.prompt.queueStep([](QDialog &dialog) { dialog.reject(); });
    runUpdateThroughAction(rig);
    QCOMPARE(rig.update().Filelabel->text(), QString());
    QCOMPARE(rig.emulator.received(), QByteArray());
    QCOMPARE(rig.prompt.texts(), names({ "Please select a firmware file first." }));
}

QTEST_MAIN(TestFirmwareUpdate)
#include "tst_firmwareupdate.moc"
