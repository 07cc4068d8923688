#pragma once

#include <QDialog>

// Asks for the old PIN and a new one.
class TChangePINDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TChangePINDialog(QWidget *parent = nullptr);
};
