#pragma once

#include <QDialog>

// The save-setup dialog: the catalogue and a name field.
class TSaveform : public QDialog
{
    Q_OBJECT
public:
    explicit TSaveform(QWidget *parent = nullptr);
};
