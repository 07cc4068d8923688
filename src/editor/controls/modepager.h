#pragma once

#include <QTabWidget>

class QToolButton;

// The mode pager: a tab widget with an insert and a close button beside the
// tabs. tabPressed(index) is emitted when a mouse button goes down on a tab,
// before the current page changes. Tabs can be dragged into another order,
// except that the tab at position 0 (the standard page) stays there: it
// cannot be dragged and nothing can be dropped before it.
//
// The pager adds and removes no pages itself; its owner does, on
// insertClicked() and closeClicked().
class TModePager : public QTabWidget
{
    Q_OBJECT

public:
    explicit TModePager(QWidget *parent = nullptr);

    void setInsertButtonVisible(bool visible);
    bool isInsertButtonVisible() const;
    void setCloseButtonVisible(bool visible);
    bool isCloseButtonVisible() const;
    QToolButton *insertButton() const { return m_insertButton; }
    QToolButton *closeButton() const { return m_closeButton; }

Q_SIGNALS:
    void insertClicked();
    void closeClicked();
    void tabPressed(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QToolButton *m_insertButton;
    QToolButton *m_closeButton;
};
