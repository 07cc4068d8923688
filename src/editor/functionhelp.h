#pragma once

#include <QString>

// The help texts that describe a mode: the selected output, then the
// selected switch function. They are HTML for the help pane, with the
// pane's picture "idx:0". Each is translated when it is asked for.

// The text of the switch function at this index of the function list
// ("Impulse", "Push button ", "Repeater", "Toggle", "Double click"); a null
// string for any other index.
QString FunctionHelpText(int index);

// Output 1, the changeover contact, and output 2, the solid-state relay.
QString Output1HelpText();
QString Output2HelpText();
