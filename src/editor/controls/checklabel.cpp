#include "checklabel.h"

TCheckLabel::TCheckLabel(QWidget *parent)
    : QCheckBox(parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

TCheckLabel::TCheckLabel(const QString &text, QWidget *parent)
    : TCheckLabel(parent)
{
    setText(text);
}
