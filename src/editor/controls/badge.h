#pragma once

#include "twostatebutton.h"

// Looks like a two-state button and flips its look when clicked, but nothing
// reads or sets it and no handler is attached. Kept out of the tab chain.
class TBadge : public TTwoStateButton
{
    Q_OBJECT

public:
    explicit TBadge(QWidget *parent = nullptr);
    explicit TBadge(const QString &text, QWidget *parent = nullptr);
};
