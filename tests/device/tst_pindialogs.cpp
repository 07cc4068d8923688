#include "app/appwindows.h"
#include "app/mainform.h"
#include "device/changepindialog.h"
#include "device/formadvanced.h"
#include "device/newpin_dlg.h"
#include "device/pin_dlg.h"
#include "devicewindows.h"
#include "services/messagedlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

// The three PIN dialogs and "Set PIN" of the advanced window, with the
// device's side played by the emulator.
using Typed = QList<QPair<QString, QString>>;

namespace {

// Types into the named edits of the showing dialog, then presses a button.
ScriptedPrompt::Step typeAndPress(const Typed &typed, const char *button)
{
    return [typed, button](QDialog &dlg) {
        for (const auto &[name, text] : typed) {
            auto *edit = dlg.findChild<QLineEdit *>(name);
            QVERIFY2(edit, qPrintable(name));
            edit->setText(text);
        }
        auto *b = dlg.findChild<QPushButton *>(QString::fromLatin1(button));
        QVERIFY(b);
        b->click();
    };
}

} // namespace

class TestPinDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();

    void pinEditsTakeFourDigits_data();
    void pinEditsTakeFourDigits();
    void pinDialogRemembersPin();
    void changeDialog_data();
    void changeDialog();
    void newPinDialog_data();
    void newPinDialog();
    void editsClearedOnShow();
    void setPin_data();
    void setPin();
};

void TestPinDialogs::cleanup() { }

void TestPinDialogs::pinEditsTakeFourDigits_data()
{
    QTest::addColumn<QString>("edit");
    QTest::newRow("PIN entry") << "Password";
    QTest::newRow("old PIN") << "OldPin";
    QTest::newRow("new PIN") << "NewPIN";
    QTest::newRow("new PIN again") << "NewPINValidate";
    QTest::newRow("first PIN") << "PIN";
    QTest::newRow("first PIN again") << "PINValidate";
}

void TestPinDialogs::pinEditsTakeFourDigits()
{
    QFETCH(QString, edit);
    DeviceWindows d;
    QLineEdit *e = nullptr;
    for (QWidget *w : d.windows().all()) {
        if (!e && w != &d.main())
            e = w->findChild<QLineEdit *>(edit);
    }
    QVERIFY(e);
    QTest::keyClicks(e, QStringLiteral("1a2 -3x4567"));
    QCOMPARE(e->text(), QStringLiteral("1234"));
    QCOMPARE(e->echoMode(), QLineEdit::Password);
    QCOMPARE(e->displayText(), QStringLiteral("****"));
}

void TestPinDialogs::pinDialogRemembersPin()
{
    DeviceWindows d;
    TPIN_Dlg &dlg = *d.windows().PIN_Dlg;
    QCOMPARE(dlg.windowTitle(), QStringLiteral("PIN "));
    QVERIFY(dlg.Pincode.isEmpty());

    d.prompt.queueStep(typeAndPress({ { QStringLiteral("Password"), QStringLiteral("0815") } }, "OKBtn"));
    QCOMPARE(dlg.ShowModal(), int(QDialog::Accepted));
    QCOMPARE(dlg.Pincode, QStringLiteral("0815"));

    // Shown again: the edit still holds the PIN; Cancel keeps the remembered one.
    QString onShow;
    d.prompt.queueStep([&onShow](QDialog &shown) {
        auto &p = static_cast<TPIN_Dlg &>(shown);
        onShow = p.Password->text();
        p.Password->setText(QStringLiteral("99"));
        p.CancelBtn->click();
    });
    QCOMPARE(dlg.ShowModal(), int(QDialog::Rejected));
    QCOMPARE(onShow, QStringLiteral("0815"));
    QCOMPARE(dlg.Pincode, QStringLiteral("0815"));
}

void TestPinDialogs::changeDialog_data()
{
    QTest::addColumn<QString>("oldPin");
    QTest::addColumn<QString>("newPin");
    QTest::addColumn<QString>("again");
    QTest::addColumn<QString>("message"); // empty: accepted

    QTest::newRow("accepted") << "1234"
                              << "5678"
                              << "5678" << QString();
    QTest::newRow("old PIN wrong") << "1111"
                                   << "5678"
                                   << "5678"
                                   << "Wrong PIN code";
    QTest::newRow("new PINs differ in one digit") << "1234"
                                                  << "5678"
                                                  << "5679"
                                                  << "New PINs are different";
    QTest::newRow("new PIN empty") << "1234" << QString() << QString()
                                   << "Please enter a PIN of 1 to 4 digits.";
}

void TestPinDialogs::changeDialog()
{
    QFETCH(QString, oldPin);
    QFETCH(QString, newPin);
    QFETCH(QString, again);
    QFETCH(QString, message);

    DeviceWindows d;
    d.emulator.setPin(1234);
    d.emulator.setLocked(true);
    d.connect();
    TChangePINDialog &dlg = *d.windows().ChangePINDialog;
    d.session().setRememberedPin(QStringLiteral("1234"));

    bool stayedOpen = false;
    d.prompt.queueStep(
        typeAndPress({ { QStringLiteral("OldPin"), oldPin }, { QStringLiteral("NewPIN"), newPin },
                         { QStringLiteral("NewPINValidate"), again } },
            "OKBtn"));
    // Reached only while the dialog is still open; closing with the caption
    // counts as Cancel.
    d.prompt.queueStep([&stayedOpen](QDialog &shown) {
        stayedOpen = true;
        shown.close();
    });
    d.prompt.setNextAnswer(mrOk);

    const int result = dlg.ShowModal();

    // The old PIN is checked by the device, and nothing else is sent.
    QCOMPARE(d.emulator.received().left(2), QByteArray("*X"));
    QCOMPARE(d.emulator.received().size(), 4);
    if (message.isEmpty()) {
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(!stayedOpen);
        QVERIFY(d.prompt.shown.isEmpty());
        QCOMPARE(d.session().rememberedPin(), newPin);
    } else {
        QCOMPARE(result, int(QDialog::Rejected));
        QVERIFY(stayedOpen);
        QCOMPARE(d.prompt.texts(), QStringList { message });
        QCOMPARE(d.prompt.shown[0].kind, mtCustom);
        QCOMPARE(d.prompt.shown[0].buttons, MsgDlgButtons(mbOK));
        QCOMPARE(d.session().rememberedPin(), QStringLiteral("1234"));
    }
}

void TestPinDialogs::newPinDialog_data()
{
    QTest::addColumn<QString>("pin");
    QTest::addColumn<QString>("again");
    QTest::addColumn<QString>("message");

    QTest::newRow("accepted") << "7"
                              << "7" << QString();
    QTest::newRow("different") << "1234"
                               << "1243"
                               << "New PINs are different";
    QTest::newRow("empty") << QString() << QString() << "Please enter a PIN of 1 to 4 digits.";
}

void TestPinDialogs::newPinDialog()
{
    QFETCH(QString, pin);
    QFETCH(QString, again);
    QFETCH(QString, message);

    DeviceWindows d;
    TNewPIN_Dlg &dlg = *d.windows().NewPIN_Dlg;
    d.prompt.queueStep(
        typeAndPress({ { QStringLiteral("PIN"), pin }, { QStringLiteral("PINValidate"), again } }, "OKBtn"));
    d.prompt.queueStep(typeAndPress({}, "CancelBtn"));
    d.prompt.setNextAnswer(mrOk);

    const int result = dlg.ShowModal();

    if (message.isEmpty()) {
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(d.prompt.shown.isEmpty());
        QCOMPARE(d.session().rememberedPin(), pin);
    } else {
        QCOMPARE(result, int(QDialog::Rejected));
        QCOMPARE(d.prompt.texts(), QStringList { message });
        QCOMPARE(d.prompt.shown[0].kind, mtCustom);
        QVERIFY(d.session().rememberedPin().isEmpty());
    }
}

void TestPinDialogs::editsClearedOnShow()
{
    DeviceWindows d;
    TChangePINDialog &change = *d.windows().ChangePINDialog;
    TNewPIN_Dlg &first = *d.windows().NewPIN_Dlg;
    for (QLineEdit *e : { change.OldPin, change.NewPIN, change.NewPINValidate, first.PIN, first.PINValidate })
        e->setText(QStringLiteral("12"));

    QStringList seen;
    const auto record = [&seen](QDialog &dlg) {
        for (QLineEdit *e : dlg.findChildren<QLineEdit *>())
            seen.append(e->text());
        dlg.reject();
    };
    d.prompt.queueStep(record);
    d.prompt.queueStep(record);
    change.ShowModal();
    first.ShowModal();
    QCOMPARE(seen, QStringList(5, QString()));
    QCOMPARE(
        change.findChild<QLabel *>(QStringLiteral("Label4"))->text(), QStringLiteral("disable PIN: 9738"));
}

void TestPinDialogs::setPin_data()
{
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<Typed>("typed"); // empty: Cancel
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<bool>("lockedAfter");
    QTest::addColumn<QStringList>("messages");

    const QString pin = QStringLiteral("PIN");
    const QString pinAgain = QStringLiteral("PINValidate");
    const QString oldPin = QStringLiteral("OldPin");
    const QString newPin = QStringLiteral("NewPIN");
    const QString newAgain = QStringLiteral("NewPINValidate");
    const QString one = QStringLiteral("1234");

    QTest::newRow("first PIN") << false << QString() << Typed { { pin, one }, { pinAgain, one } }
                               << QByteArray::fromHex("2A5704D2") + "*P" << true << QStringList();
    QTest::newRow("first PIN not acknowledged")
        << false << "nak" << Typed { { pin, one }, { pinAgain, one } }
        << QByteArray::fromHex("2A5704D2") + "*P" << true << QStringList { QStringLiteral("Action failed") };
    QTest::newRow("first PIN cancelled")
        << false << QString() << Typed {} << QByteArray("*P") << false << QStringList();
    QTest::newRow("changed PIN") << true << QString()
                                 << Typed { { oldPin, one }, { newPin, QStringLiteral("4321") },
                                        { newAgain, QStringLiteral("4321") } }
                                 << QByteArray::fromHex("2A5804D2"
                                                        "2A5710E1")
            + "*P" << true << QStringList();
    QTest::newRow("lock removed with 9738")
        << true << QString()
        << Typed { { oldPin, one }, { newPin, QStringLiteral("9738") }, { newAgain, QStringLiteral("9738") } }
        << QByteArray::fromHex("2A5804D2"
                               "2A57260A")
            + "*P"
        << false << QStringList();
    QTest::newRow("change cancelled")
        << true << QString() << Typed {} << QByteArray("*P") << true << QStringList();
}

void TestPinDialogs::setPin()
{
    QFETCH(bool, locked);
    QFETCH(QString, fault);
    QFETCH(Typed, typed);
    QFETCH(QByteArray, sent);
    QFETCH(bool, lockedAfter);
    QFETCH(QStringList, messages);

    DeviceWindows d;
    d.emulator.setBuild(9);
    d.emulator.setPin(locked ? 1234 : VelotrixEmulator::UnlockPin);
    d.emulator.setLocked(locked);
    d.connect();
    QCOMPARE(d.link().PIN_Protected, locked);
    QCOMPARE(d.main().Label_PINProtected->isHidden(), !locked);
    if (fault == QLatin1String("nak"))
        d.emulator.setWrongHeader('W', QByteArrayLiteral("*E"));

    d.prompt.queueStep(typed.isEmpty() ? typeAndPress({}, "CancelBtn") : typeAndPress(typed, "OKBtn"));
    d.prompt.setNextAnswer(mrOk);

    // Through the button, as the user sets the PIN.
    d.windows().FormAdvanced->PngBitBtn1->click();

    QCOMPARE(d.prompt.dialogs,
        QStringList { locked ? QStringLiteral("ChangePINDialog") : QStringLiteral("NewPIN_Dlg") });
    QCOMPARE(d.emulator.received().toHex(' '), sent.toHex(' '));
    QCOMPARE(d.prompt.texts(), messages);
    // The lock state is read back from the device in every case.
    QCOMPARE(d.link().PIN_Protected, lockedAfter);
    QCOMPARE(d.main().Label_PINProtected->isHidden(), !lockedAfter);
}

QTEST_MAIN(TestPinDialogs)
#include "tst_pindialogs.moc"
