#pragma once

#include <QCheckBox>

// A text with a tick box. setChecked() from code runs no handler; a user
// click flips the tick and then emits clicked(bool). The class names the kind
// so that it is styled in one place.
class TCheckLabel : public QCheckBox
{
    Q_OBJECT

public:
    explicit TCheckLabel(QWidget *parent = nullptr);
    explicit TCheckLabel(const QString &text, QWidget *parent = nullptr);
};
