#pragma once

#include <QDialog>

// Checks the web folder for a newer installer and downloads it.
class TFormwebupdate : public QDialog
{
    Q_OBJECT
public:
    explicit TFormwebupdate(QWidget *parent = nullptr);
};
