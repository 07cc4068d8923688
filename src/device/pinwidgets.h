#pragma once

class QLabel;
class QLineEdit;
class QWidget;

// An edit for a PIN: at most four characters, digits only, each shown as
// "*".
QLineEdit *createPinEdit(QWidget *parent, const char *objectName);

// The padlock picture of the PIN dialogs, 48 x 48.
QLabel *createPadlockImage(QWidget *parent);
