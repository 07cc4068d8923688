#pragma once

#include "services/prompt.h"

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
MsgDlgResult MessageDlgCentered(const QString &text, MsgDlgKind kind, MsgDlgButtons buttons);

// Top-left corner that puts a box of the given size on the centre of a
// window's frame rectangle. Halves are taken with truncating division, so an
// odd width or height leaves the box one pixel towards the top-left.
QPoint centredTopLeft(const QRect &window, const QSize &box);

// Moves a box rectangle by the least amount that brings it inside the
// screen area; a box larger than the area keeps its top-left corner visible.
QRect keptOnScreen(const QRect &box, const QRect &screen);

// The program's prompt: real message boxes centred on the active window, and
// modal windows run in their own event loop.
class WindowPrompt : public Prompt
{
public:
    MsgDlgResult MessageDlgCentered(const QString &text, MsgDlgKind kind, MsgDlgButtons buttons) override;
    int execModal(QDialog &dialog) override;
};
