#pragma once

#include "editor/controls/trackbar.h"
#include "editor/controls/twostatebutton.h"
#include "editor/editor.h"
#include "scriptedprompt.h"

#include <QComboBox>
#include <QStringList>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

// The editor as the main window holds it: 882 x 440 inside a window of
// 898 x 480, started with the main window's creation steps. The help
// callback records every text it is given (a null text: "open only").
struct EditorFixture
{
    ScriptedPrompt prompt;
    QStringList help;
    QWidget window;
    TEditor *editor = nullptr;

    EditorFixture()
    {
        window.resize(898, 480);
        auto *layout = new QVBoxLayout(&window);
        layout->setContentsMargins(8, 8, 8, 32);
        editor = new TEditor(
            prompt, [this](const QString &html) { help.append(html); }, &window);
        layout->addWidget(editor);
        editor->FormCreateSteps();
        window.show();
    }

    template <typename T> T *get(const QString &name) const
    {
        T *w = editor->findChild<T *>(name);
        if (!w)
            qFatal("no control %s", qPrintable(name));
        return w;
    }
    TTwoStateButton *button(const QString &name) const { return get<TTwoStateButton>(name); }
    TTrackBar *bar(const QString &name) const { return get<TTrackBar>(name); }

    template <typename T> qsizetype findChildCount() const { return editor->findChildren<T *>().size(); }

    void click(const QString &name) const { QTest::mouseClick(button(name), Qt::LeftButton); }

    // Chooses an entry as a user does, with the keyboard.
    void pick(const QString &comboName, int index) const
    {
        auto *combo = get<QComboBox>(comboName);
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->currentIndex(), index);
    }
};

// A parameter set as the device would send it: valid values everywhere.
inline tParameterSet typicalSet()
{
    tParameterSet p;
    for (std::size_t i = 0; i < p.ModeDescriptor.size(); ++i) {
        tModeDescriptor &m = p.ModeDescriptor[i];
        m.SwitchMode = NormalON;
        m.RelOut = Relais1;
        m.ProxFeedback.FeedbackMode = FB_Prox;
        m.ProxFeedback.Feedback_Beep = true;
        m.ProxFeedback.Feedback_OnlyONBeep = true;
        m.ProxFeedback.Feedback_BeepVolume = std::uint8_t(i + 1);
        m.ProxFeedback.Feedback_LEDuse = true;
        m.ProxFeedback.Feedback_LEDdesc.Brightness = 255;
        m.ProxFeedback.Feedback_LEDdesc.Color16 = 0xF800;
        m.RelTiming = { 100, 50, 100, 10, 10, 10 };
        m.ContStop_100ms = 0;
    }
    p.SpecialActionDesc = { LongClick, ModeChange, 0, true, 2, 4000, { 30, 30 } };
    p.AlarmSettings.AlarmTriggerTime_s = 10;
    p.AlarmSettings.Alarm_BeepVolume = 1;
    p.AlarmSettings.AlarmSignal_BeepOn = true;
    p.AlarmSettings.AlarmLED = { 255, 0, 0xF800, LS_off };
    p.AlarmSettings.AlarmSignalRepeat_10ms = 100;
    p.AlarmSettings.AlarmRelSwitchTime_100ms = 10;
    p.AntiTremor = { 250, 0 };
    return p;
}

inline tParameterSet written(const TEditor &editor, tParameterSet records = {})
{
    editor.WriteToDataStructs(records);
    return records;
}
