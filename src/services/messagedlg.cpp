#include "services/messagedlg.h"

#include "services/translation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <algorithm>

namespace {

// A message box that places itself once its final size is known and tells a
// close from the caption apart from a button press. QMessageBox on its own
// treats the caption's close button as a click on the escape button, which
// would make a closed Yes/No box answer No.
class CentredMessageBox : public QMessageBox
{
public:
    explicit CentredMessageBox(QWidget *parent)
        : QMessageBox(parent)
    {
    }

    // The rectangle to centre on, and the screen area to stay inside.
    void setPlacement(const QRect &centreOn, const QRect &screen)
    {
        m_centreOn = centreOn;
        m_screen = screen;
    }

    bool closedWithoutButton() const { return m_closedWithoutButton; }

protected:
    void showEvent(QShowEvent *event) override
    {
        // The base class fixes the box's size here; only now can it be centred.
        QMessageBox::showEvent(event);
        QRect box(centredTopLeft(m_centreOn, frameGeometry().size()), frameGeometry().size());
        if (m_screen.isValid())
            box = keptOnScreen(box, m_screen);
        move(box.topLeft());
    }

    void closeEvent(QCloseEvent *event) override
    {
        if (clickedButton() != nullptr) {
            QMessageBox::closeEvent(event);
            return;
        }
        m_closedWithoutButton = true;
        QDialog::closeEvent(event);
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        // Without Cancel, No or OK there is nothing for Escape to press; the
        // plain dialog would otherwise reject the box with no answer.
        if (event->key() == Qt::Key_Escape && escapeButton() == nullptr) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }

private:
    QRect m_centreOn;
    QRect m_screen;
    bool m_closedWithoutButton = false;
};

QMessageBox::Icon iconForKind(MsgDlgKind kind)
{
    switch (kind) {
    case mtWarning:
        return QMessageBox::Warning;
    case mtError:
        return QMessageBox::Critical;
    case mtInformation:
        return QMessageBox::Information;
    case mtConfirmation:
        return QMessageBox::Question;
    default:
        return QMessageBox::NoIcon;
    }
}

QString titleForKind(MsgDlgKind kind)
{
    switch (kind) {
    case mtWarning:
        return tx("Warning");
    case mtError:
        return tx("Error");
    case mtInformation:
        return tx("Information");
    case mtConfirmation:
        return tx("Confirm");
    default:
        return QGuiApplication::applicationDisplayName();
    }
}

MsgDlgResult resultForButton(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok:
        return mrOk;
    case QMessageBox::Yes:
        return mrYes;
    case QMessageBox::No:
        return mrNo;
    default:
        return mrCancel;
    }
}

QScreen *screenUnderCursor()
{
    if (QScreen *screen = QGuiApplication::screenAt(QCursor::pos()))
        return screen;
    return QGuiApplication::primaryScreen();
}

} // namespace

QPoint centredTopLeft(const QRect &window, const QSize &box)
{
    return QPoint(window.left() + window.width() / 2 - box.width() / 2,
        window.top() + window.height() / 2 - box.height() / 2);
}

QRect keptOnScreen(const QRect &box, const QRect &screen)
{
    QRect placed = box;
    if (placed.right() > screen.right())
        placed.moveRight(screen.right());
    if (placed.bottom() > screen.bottom())
        placed.moveBottom(screen.bottom());
    if (placed.left() < screen.left())
        placed.moveLeft(screen.left());
    if (placed.top() < screen.top())
        placed.moveTop(screen.top());
    return placed;
}

MsgDlgResult MessageDlgCentered(const QString &text, MsgDlgKind kind, MsgDlgButtons buttons)
{
    if (!(buttons & (mbYes | mbNo | mbOK | mbCancel)))
        buttons = mbOK;

    QWidget *active = QApplication::activeWindow();
    // Held through a guard: the box is a child of the active window and goes
    // with it should that window be destroyed while the box is open.
    QPointer<CentredMessageBox> box = new CentredMessageBox(active);
    box->setIcon(iconForKind(kind));
    box->setWindowTitle(titleForKind(kind));
    // Texts may carry setup or port names; never let them be read as markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(text);

    QMessageBox::StandardButtons standard;
    if (buttons & mbYes)
        standard |= QMessageBox::Yes;
    if (buttons & mbNo)
        standard |= QMessageBox::No;
    if (buttons & mbOK)
        standard |= QMessageBox::Ok;
    if (buttons & mbCancel)
        standard |= QMessageBox::Cancel;
    box->setStandardButtons(standard);
    // The buttons speak the program's language, not the platform's.
    const std::pair<QMessageBox::StandardButton, const char *> captions[] = { { QMessageBox::Yes, "&Yes" },
        { QMessageBox::No, "&No" }, { QMessageBox::Ok, "OK" }, { QMessageBox::Cancel, "Cancel" } };
    for (const auto &[which, caption] : captions) {
        if (QAbstractButton *b = box->button(which))
            b->setText(tx(caption));
    }

    if (buttons & mbOK)
        box->setDefaultButton(QMessageBox::Ok);
    else if (buttons & mbYes)
        box->setDefaultButton(QMessageBox::Yes);

    if (buttons & mbCancel)
        box->setEscapeButton(QMessageBox::Cancel);
    else if (buttons & mbNo)
        box->setEscapeButton(QMessageBox::No);
    else if (buttons & mbOK)
        box->setEscapeButton(QMessageBox::Ok);

    QScreen *screen = active != nullptr ? active->screen() : screenUnderCursor();
    const QRect screenArea = screen != nullptr ? screen->availableGeometry() : QRect();
    box->setPlacement(active != nullptr ? active->frameGeometry() : screenArea, screenArea);

    box->setWindowModality(Qt::ApplicationModal);
    box->exec();
    if (box.isNull())
        return mrCancel;

    MsgDlgResult result = mrCancel;
    if (!box->closedWithoutButton() && box->clickedButton() != nullptr)
        result = resultForButton(box->standardButton(box->clickedButton()));
    delete box;
    return result;
}

MsgDlgResult WindowPrompt::MessageDlgCentered(const QString &text, MsgDlgKind kind, MsgDlgButtons buttons)
{
    return ::MessageDlgCentered(text, kind, buttons);
}

int WindowPrompt::execModal(QDialog &dialog)
{
    return dialog.exec();
}
