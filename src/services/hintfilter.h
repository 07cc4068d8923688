#pragma once

#include <QObject>
#include <QString>

class QApplication;
class QHelpEvent;
class QWidget;

// A hint writes "@" where it wants a new line; this is the text shown.
QString hintText(const QString &hint);

// Application-wide hook that runs before any hint is shown: a hint holding
// "@" is shown with line breaks in its place. Every other hint takes Qt's
// usual way; all hints appear in the styled hint window.
class THintFilter : public QObject
{
    Q_OBJECT
public:
    explicit THintFilter(QObject *parent = nullptr);

    // Returns true when it showed the hint itself.
    bool ApplicationEvents1ShowHint(QWidget *widget, QHelpEvent *event);

    // The hint the widget would show at pos (widget, tab, item or menu
    // entry), and the area it belongs to.
    static QString hintAt(QWidget *widget, const QPoint &pos, QRect *area = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// Installs the hook on the application and styles its hint window (white
// bold text on a dark blue-grey rounded background).
THintFilter *installHintFilter(QApplication &app);
