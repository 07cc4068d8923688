#pragma once

#include "device/records.h"

#include <QList>

class TEditor;
class TGlobalSettings;
class TModePage;

// The mapping between the working records and the editor's controls, as
// ordered tables of rows. ReadFromDataStructs and WriteToDataStructs walk
// the same rows, so the two directions cannot drift apart; the handlers a
// read must run are rows of their own, at their place in the order.
//
// Units: a track bar shows milliseconds (seconds, levels) where the record
// stores 10 ms or 100 ms units; record to control multiplies by the unit,
// control to record divides and drops the remainder. Level rows are the
// other way round: the record holds the level times the unit.
namespace RecordsMapping {

enum class ModeKind {
    FunctionIndex, // the function list's index is the switch mode; no selection keeps the field
    TrackBar, // control = field x unit
    PushButtonTime, // as TrackBar, but stored only for "Push button ", else 0
    TrackBarLevel, // field = level x unit
    Outputs, // RelOut from the two output buttons
    Feedback, // FeedbackMode from OUTPUT and INPUT
    Button, // a Boolean from a pressed button
    Colour, // Color16 (RGB565) from the colour selector
    Fixed, // written with a fixed value, never read
    Handler, // run while reading
};

struct ModeRow
{
    const char *field;
    ModeKind kind;
    const char *role = nullptr; // control role; the page number follows
    const char *role2 = nullptr; // second control of the row
    int unit = 1;
    int min = 0; // values the row writes
    int max = 0;
    int (*get)(const tModeDescriptor &) = nullptr;
    void (*set)(tModeDescriptor &, int) = nullptr;
    void (*run)(TEditor &, TModePage &, const tModeDescriptor &) = nullptr;
};

// One mode and the controls of one page, in processing order.
const QList<ModeRow> &modeRows();
void readMode(TEditor &editor, TModePage &page, const tModeDescriptor &mode);
void writeMode(const TModePage &page, tModeDescriptor &mode);

enum class GlobalKind {
    SelectionSwitch, // 0 (DoubleClick) off, 1 (LongClick) on, else unchanged / 2 below two pages
    SwitchUnlessZero, // read: on unless 0; write: on 1, off 0
    CountButton, // pressed when more than one mode
    Check, // ticked when not 0
    TransparentClick, // write: ticked and "Long click"
    TrackBar, // control = field x unit
    Button, // pressed when not 0
    EnabledButton, // write: 1 when enabled and pressed
    AlarmOutput, // "Impulse" / "Permanent switch" / switch time <-> AlarmRelSwitchTime_100ms
    AntiTremorTime, // write: the track bar's time while ANTI-TREMOR is pressed, else 0
    Fixed, // written with a fixed value, never read
    Handler, // run while reading
};

struct GlobalRow
{
    const char *field;
    GlobalKind kind;
    const char *control = nullptr; // object name
    int unit = 1;
    int min = 0; // values the row writes
    int max = 0;
    int (*get)(const tParameterSet &, int count) = nullptr;
    void (*set)(tParameterSet &, int) = nullptr;
    void (*run)(TEditor &) = nullptr;
};

// The global settings: the steps of a read, and the fields of a write.
const QList<GlobalRow> &globalReadRows();
const QList<GlobalRow> &globalWriteRows();
void readGlobals(TEditor &editor, const tParameterSet &records, int count);
void writeGlobals(const TEditor &editor, tParameterSet &records);

} // namespace RecordsMapping
