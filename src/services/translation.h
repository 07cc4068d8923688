#pragma once

#include <QString>

// Translates an English message id through the catalogue of the current
// language; returns the id itself when there is no entry. Every text built in
// code passes through here. Format texts are translated first and filled
// afterwards, so translations keep their placeholders.
QString tx(const char *msgid);
QString tx(const QString &msgid);

// Marks a window text for the catalogues without translating it: window
// texts are translated by walking the window, which remembers their ids.
#define N_(text) QString::fromUtf8(text)
