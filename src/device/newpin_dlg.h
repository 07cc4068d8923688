#pragma once

#include <QDialog>

// Asks for a first PIN, twice.
class TNewPIN_Dlg : public QDialog
{
    Q_OBJECT
public:
    explicit TNewPIN_Dlg(QWidget *parent = nullptr);
};
