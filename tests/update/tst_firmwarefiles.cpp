#include "updaterig.h"

#include <QCheckBox>
#include <QListWidget>
#include <QTest>
#include <QToolButton>

// The firmware file selection of the explicit mode.
class TestFirmwareFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void firstShowingSelectsNothing();
    void selectionGivesTheFullPath();
    void checkBoxWritesAtOnce();
    void listIsReReadOnlyForANewMask();
    void missingFolderShowsAnEmptyList();
};

void TestFirmwareFiles::firstShowingSelectsNothing()
{
    UpdateRig rig(3, 10);
    rig.put(QStringLiteral("Velotrix_V1.3.12.hex"), validHex());
    rig.put(QStringLiteral("Velotrix_V1.3.07.hex"), validHex());
    rig.put(QStringLiteral("Velotrix_V1.4.07.hex"), validHex());
    rig.files().ShowModal();
    QListWidget *list = rig.files().FileListBox;
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Velotrix_V1.3.07.hex"));
    QCOMPARE(list->item(1)->text(), QStringLiteral("Velotrix_V1.3.12.hex"));
    QVERIFY(list->selectedItems().isEmpty());
    QVERIFY(!rig.files().SelectButton->isEnabled());
    QCOMPARE(rig.files().selectedFile(), QString());
    QCOMPARE(rig.files().windowTitle(), QStringLiteral("Select firmware"));
    QCOMPARE(rig.files().CheckBox_eeprom->text(), QStringLiteral("Overwrite EEPROM "));
}

void TestFirmwareFiles::selectionGivesTheFullPath()
{
    UpdateRig rig(3, 10);
    rig.put(QStringLiteral("Velotrix_V1.3.12.hex"), validHex());
    rig.put(QStringLiteral("Velotrix_V1.3.13.hex"), validHex());
    // Double click closes the window only on an existing file.
    rig.prompt.queueStep([&rig](QDialog &dialog) {
        QListWidget *list = rig.files().FileListBox;
        list->setCurrentRow(1);
        QVERIFY(rig.files().SelectButton->isEnabled());
        QFile::remove(rig.folder() + QStringLiteral("Velotrix_V1.3.13.hex"));
        list->setCurrentRow(0);
        list->setCurrentRow(1);
        QVERIFY(!rig.files().SelectButton->isEnabled());
        rig.files().FileListBoxDblClick();
        QCOMPARE(dialog.result(), -1);
        list->setCurrentRow(0);
        QVERIFY(rig.files().SelectButton->isEnabled());
        rig.files().FileListBoxDblClick();
    });
    QCOMPARE(rig.files().ShowModal(), int(QDialog::Accepted));
    QCOMPARE(rig.files().selectedFile(), rig.folder() + QStringLiteral("Velotrix_V1.3.12.hex"));
}

void TestFirmwareFiles::checkBoxWritesAtOnce()
{
    UpdateRig rig(3, 10);
    const QString app = QStringLiteral("Application");
    const QString key = QStringLiteral("Flash_EEPROM");
    rig.prompt.queueStep([](QDialog &dialog) {
        auto *box = dialog.findChild<QCheckBox *>(QStringLiteral("CheckBox_eeprom"));
        QVERIFY(!box->isChecked());
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
        // Closed with the caption's close button.
        dialog.reject();
    });
    rig.files().ShowModal();
    QVERIFY(rig.files().CheckBox_eeprom->isChecked());
    AppConfig reread(rig.config().path());
    QCOMPARE(reread.readBool(app, key, false), true);
    // Setting the box from Config.ini on the next showing writes nothing.
    rig.config().writeBool(app, key, false);
    rig.files().ShowModal();
    QVERIFY(!rig.files().CheckBox_eeprom->isChecked());
    QCOMPARE(AppConfig(rig.config().path()).readBool(app, key, true), false);
}

void TestFirmwareFiles::listIsReReadOnlyForANewMask()
{
    UpdateRig rig(3, 10);
    rig.put(QStringLiteral("Velotrix_V1.3.12.hex"), validHex());
    rig.put(QStringLiteral("Velotrix_V1.5.12.hex"), validHex());
    rig.prompt.queueStep([&rig](QDialog &) { rig.files().FileListBox->setCurrentRow(0); });
    rig.files().ShowModal();
    QCOMPARE(rig.files().selectedFile(), rig.folder() + QStringLiteral("Velotrix_V1.3.12.hex"));
    // Same folder and mask: the selection of the last showing stays.
    rig.files().ShowModal();
    QCOMPARE(rig.files().selectedFile(), rig.folder() + QStringLiteral("Velotrix_V1.3.12.hex"));
    QVERIFY(rig.files().SelectButton->isEnabled());

    // A device of another variation: the list is read again, nothing selected.
    rig.main().port().close();
    rig.emulator.setVariation(5);
    rig.main().ComComboBox1Change();
    QTRY_COMPARE(int(rig.main().session().versionVariation()), 5);
    rig.files().ShowModal();
    QCOMPARE(rig.files().FileListBox->count(), 1);
    QCOMPARE(rig.files().FileListBox->item(0)->text(), QStringLiteral("Velotrix_V1.5.12.hex"));
    QCOMPARE(rig.files().selectedFile(), QString());
    QVERIFY(!rig.files().SelectButton->isEnabled());
}

void TestFirmwareFiles::missingFolderShowsAnEmptyList()
{
    UpdateRig rig(3, 10);
    QVERIFY(!QFileInfo::exists(rig.folder()));
    rig.files().ShowModal();
    QCOMPARE(rig.files().FileListBox->count(), 0);
    QVERIFY(!rig.files().SelectButton->isEnabled());
    QCOMPARE(rig.files().selectedFile(), QString());
}

QTEST_MAIN(TestFirmwareFiles)
#include "tst_firmwarefiles.moc"
