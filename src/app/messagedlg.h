#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// Shows a modal message box centred on the program's active window (or on the
// screen when none is active) and returns what the user chose.
//   kind:    0 warning, 1 error, 2 information, 3 confirmation, 4 plain
//   buttons: bit set of 1 Yes, 2 No, 4 OK, 8 Cancel
//   result:  1 OK, 6 Yes, 7 No (also Escape in a Yes/No box),
//            2 Cancel or closed with the caption's close button
int MessageDlgCentered(const QString &text, int kind, int buttons);

// Top-left corner that puts a box of the given size on the centre of a
// window's frame rectangle. Halves are taken with truncating division, so an
// odd width or height leaves the box one pixel towards the top-left.
QPoint centredTopLeft(const QRect &window, const QSize &box);

// Moves a box rectangle by the least amount that brings it inside the
// screen area; a box larger than the area keeps its top-left corner visible.
QRect keptOnScreen(const QRect &box, const QRect &screen);

// Answers message boxes without showing them, for tests. From the first
// setNextAnswer() until clear() every call is recorded and answered from the
// queue; when the queue has run dry the call returns 2, as if the box had
// been closed, so a missing answer fails a test instead of hanging it.
class MessageDlgResponder
{
public:
    static void setNextAnswer(int result);
    static void clear();

    struct Shown
    {
        QString text;
        int kind;
        int buttons;
    };
    static QList<Shown> shown();

    // Used by MessageDlgCentered: true when the call was answered here.
    static bool answer(const QString &text, int kind, int buttons, int *result);
};
