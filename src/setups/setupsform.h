#pragma once

#include <QDialog>

// The manage-setups window: the setup catalogue with load, rename and delete.
class TSetupsform : public QDialog
{
    Q_OBJECT
public:
    explicit TSetupsform(QWidget *parent = nullptr);
};
