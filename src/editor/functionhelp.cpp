#include "functionhelp.h"

#include "services/translation.h"

// The texts are message ids: every character counts, including the double
// spaces, the missing spaces after full stops and the trailing space.

QString FunctionHelpText(int index)
{
    switch (index) {
    case 0: // "Impulse"
        return tx("<b>Pulse</b><br>The output selected is switched during the pulse duration  preset,"
                  " afterwards it returns into idle state.The pulse is triggered when the input sensor is"
                  " activated.  <br>(Input filters are considered).");
    case 1: // "Push button "
        return tx("<b>Pushbutton</b><br>The output selected is triggered taking into account the input"
                  " filters, as long as the input sensor is activated.<br><br>A forced cutoff can be preset"
                  " after any number of seconds. If the slide switch is set completely to 0, the forced"
                  " cutoff will not be applied.");
    case 2: // "Repeater"
        return tx("<b>Repeated switching</b><br>On the output selected, a pulse followed by a pause is"
                  " generated. Afterwards further pulses follow.<br>This way, it is possible to simulate e."
                  " g. keystrokes like on a keyboard. ");
    case 3: // "Toggle"
        return tx("<b>Toggle switch</b><br>The output selected is activated and deactivated alternately"
                  " with each actuation of the input sensor. <br><br>There are no parameters to set.");
    case 4: // "Double click"
        return tx("<b>Double click</b><br>On the output selected, two pulses are issued when the input"
                  " sensor is activated.The values preset correspond approximately to the usual double"
                  " click with a computer mouse.");
    default:
        return {};
    }
}

QString Output1HelpText()
{
    return tx("<p><b>Switching output 1 - changeover contact</b><br><br><IMG"
              " src=\"idx:0\"><br><br><br>This connection is the right one when e. g. a call system, a"
              " distress call and/or systems with standby current monitoring shall be activated.You can"
              " configure this output individually on the output socket. For this please use slide"
              " switch 8 and 9.The normally closed and normally open switching contacts are available"
              " on jack plug 6. This output requires more power than output 2.  Thus the runtime of"
              " your rechargable batteries is shorter when your application is connected to this"
              " output.</p><hr><br>");
}

QString Output2HelpText()
{
    return tx("<p><b>Switching output 2 - Solid state relay</b><br><br><IMG"
              " src=\"idx:0\"><br><br><br>This connection is the right one when e. g. an environmental"
              " control unit shall be activated. Currents up to 120 mA at 350 V or 500 mA at 60 V can"
              " be switched with this output.  This output requires less power than output 1.Thus the"
              " runtime of your rechargable batteries is increased when your application is connected"
              " to this output.</p><hr><br>");
}
