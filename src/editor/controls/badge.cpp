#include "badge.h"

TBadge::TBadge(QWidget *parent)
    : TTwoStateButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

TBadge::TBadge(const QString &text, QWidget *parent)
    : TBadge(parent)
{
    setText(text);
}
