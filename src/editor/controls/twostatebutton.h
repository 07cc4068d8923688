#pragma once

#include <QToolButton>

// A button that stays down or up: checkable, isChecked() is "pressed". A user
// click (mouse, or Space while focused) flips the state and then emits
// clicked(bool) with the new state; setChecked() from code changes the look
// only and emits no clicked(). Handlers connect to clicked() only.
//
// Painted flat and rounded: filled accent with white bold text when down,
// light grey with dark text when up. Its accessible name is its caption, or
// its tool tip when it has none.
class TTwoStateButton : public QToolButton
{
    Q_OBJECT

public:
    explicit TTwoStateButton(QWidget *parent = nullptr);
    explicit TTwoStateButton(const QString &text, QWidget *parent = nullptr);

    // Free for handlers to remember a state in.
    int Tag = 0;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The name assistive tools read: the caption without "&" mnemonics, or
    // the tool tip when there is no caption.
    QString accessibleCaption() const;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
