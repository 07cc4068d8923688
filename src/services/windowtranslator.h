#pragma once

#include <QString>

class QWidget;

// Window translation. TranslateComponent walks a window and everything it
// owns (child objects, actions added to its widgets, their menus) and passes
// every text property through tx(): window titles, label, button and group
// box texts, tool tips, status tips, "what's this" texts, placeholders, spin
// box prefixes and suffixes, combo box and list widget items, tab and tool
// box page texts, actions and menu titles. It remembers the message id of
// each (object, property, index), so RetranslateComponent can look them up
// again after a language change.
//
// A retranslation covers only what the first translation met, and leaves a
// text alone when code has replaced it since: such a text keeps its language
// until code sets it again. Deleted objects are dropped.
//
// Texts are looked up exactly as they stand: a "&" mnemonic is part of the
// message id, and "@" line-break markers in hints stay for the hint filter.
void TranslateComponent(QWidget *window);
void RetranslateComponent(QWidget *window);

// Never translate objects of this class (or classes derived from it), nor
// anything they own. className is the QMetaObject class name.
void ignoreClassForTranslation(const QString &className);

// Leave the object of this name, and everything it owns, out of the next
// TranslateComponent of window. Used for controls that show data, such as the
// serial-port list.
void ignoreForNextTranslation(QWidget *window, const QString &objectName);
