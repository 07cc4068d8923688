#pragma once

#include <QFrame>
#include <QIcon>
#include <QString>

class QLabel;
class QWidget;

// Building blocks shared by the mode pages and the global settings: framed
// groups with a bold title, the arrows between the page's columns and the
// output-jack icons of the output buttons.

// A group framed with a light border, styled by the editor's style sheet.
QFrame *makeGroup(const QString &objectName, QWidget *parent);

// A bold group title.
QLabel *makeGroupTitle(const QString &objectName, const QString &text, QWidget *parent);

// A plain label.
QLabel *makeLabel(const QString &objectName, const QString &text, QWidget *parent);

// Icon of an output button: a jack socket with the output's number, dark on
// the released button and white on the pressed one.
QIcon outputIcon(int output);

// The editor's style sheet: white pages, framed groups, bold titles.
QString editorStyleSheet();

// A triangle pointing right, drawn between a page's two columns to show the
// way from the output to its function and from the feedback to its signals.
// Decoration only: never in the tab chain.
class TArrowShape : public QWidget
{
    Q_OBJECT
public:
    explicit TArrowShape(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
