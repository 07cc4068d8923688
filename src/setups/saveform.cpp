#include "saveform.h"

#include "services/guard.h"
#include "services/translation.h"
#include "setups/setupcatalogue.h"
#include "setups/setuplistview.h"
#include "setups/setupoperations.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QToolButton>

TSaveform::TSaveform(
    Prompt &prompt, QAction *saveAction, std::function<void()> loadSetups, QWidget *centreOn, QWidget *parent)
    : ModalDialog(prompt, centreOn, parent)
    , m_saveAction(saveAction)
    , m_loadSetups(std::move(loadSetups))
{
    setObjectName(QStringLiteral("Saveform"));
    setWindowTitle(N_("Save Setup"));
    resize(635, 202);
    setMinimumSize(635, 202);

    AdvListView1 = new TSetupListView(this);
    AdvListView1->setObjectName(QStringLiteral("AdvListView1"));
    AdvListView1->installEventFilter(this);
    connect(AdvListView1, &TSetupListView::clickedInList, this, &TSaveform::AdvListView1Click);

    // The same in every language; the window is not translated.
    Label1 = new QLabel(QStringLiteral("Name:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    NameEdit = new QLineEdit(this);
    NameEdit->setObjectName(QStringLiteral("NameEdit"));
    // The leading blank of the field is a margin, not part of the text.
    NameEdit->setTextMargins(4, 0, 0, 0);
    NameEdit->installEventFilter(this);
    Label1->setBuddy(NameEdit);

    PngBitBtn2 = new QToolButton(this);
    PngBitBtn2->setObjectName(QStringLiteral("PngBitBtn2"));
    PngBitBtn2->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    PngBitBtn2->setIconSize(QSize(24, 24));
    if (m_saveAction)
        PngBitBtn2->setDefaultAction(m_saveAction);

    PngBitBtn1 = new QToolButton(this);
    PngBitBtn1->setObjectName(QStringLiteral("PngBitBtn1"));
    PngBitBtn1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    PngBitBtn1->setIconSize(QSize(24, 24));
    PngBitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    PngBitBtn1->setText(QStringLiteral("Abbrechen"));
    connect(PngBitBtn1, &QToolButton::clicked, this, &QDialog::reject);

    setTabOrder(AdvListView1, NameEdit);
    setTabOrder(NameEdit, PngBitBtn2);
    setTabOrder(PngBitBtn2, PngBitBtn1);
}

void TSaveform::resizeEvent(QResizeEvent *event)
{
    ModalDialog::resizeEvent(event);
    layoutControls();
}

// Also before every showing: a caption may have changed with the language.
void TSaveform::FormShow()
{
    layoutControls();
}

void TSaveform::layoutControls()
{
    // The list grows with the window; the row below it keeps to the bottom,
    // the buttons to the bottom right, wider only when a caption needs it.
    const auto widthOf = [](QToolButton *b, int design) { return qMax(design, b->sizeHint().width()); };
    const int w = width();
    const int h = height();
    AdvListView1->setGeometry(12, 14, w - 24, h - 77);
    const int cancel = widthOf(PngBitBtn1, 77);
    PngBitBtn1->setGeometry(w - 8 - cancel, h - 57, cancel, 53);
    const int saveWidth = widthOf(PngBitBtn2, 79);
    const int saveLeft = w - 8 - cancel - 6 - saveWidth;
    PngBitBtn2->setGeometry(saveLeft, h - 56, saveWidth, 54);
    const int label = qMax(36, Label1->sizeHint().width());
    Label1->setGeometry(12, h - 52, label, 21);
    NameEdit->setGeometry(16 + label, h - 52, qMax(120, saveLeft - 16 - 16 - label), 21);
}

int TSaveform::ShowModal()
{
    const int result = ModalDialog::ShowModal();
    FormClose();
    return result;
}

void TSaveform::FormClose()
{
    clearList();
}

void TSaveform::clearList()
{
    AdvListView1->clear();
}

void TSaveform::addEntry(const tConfig *record, const QString &caption)
{
    AdvListView1->addEntry(record, caption);
}

QList<const tConfig *> TSaveform::entries() const
{
    return AdvListView1->entries();
}

bool TSaveform::saveAllowed() const
{
    if (NameEdit->text().isEmpty())
        return false;
    const tConfig *selected = AdvListView1->selectedEntry();
    return !selected || !selected->ReadOnly;
}

void TSaveform::pickSelected()
{
    const tConfig *selected = AdvListView1->selectedEntry();
    if (!selected)
        return;
    NameEdit->setEnabled(!selected->ReadOnly);
    NameEdit->setText(LookupSetupCaption(selected->name));
}

void TSaveform::AdvListView1Click()
{
    pickSelected();
}

void TSaveform::deleteSelected()
{
    const tConfig *selected = AdvListView1->selectedEntry();
    if (!selected || selected->ReadOnly)
        return;
    QString question = tx("Do you really want to delete setup \"%s\"?");
    question.replace(QLatin1String("%s"), selected->name);
    if (prompt().MessageDlgCentered(question, mtConfirmation, mbYesNo) != mrYes)
        return;
    // A file that cannot be deleted stays listed; nothing is said.
    DeleteSetupFile(selected->Filename);
    if (m_loadSetups)
        m_loadSetups();
}

bool TSaveform::AdvListView1KeyDown(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        pickSelected();
        return true;
    case Qt::Key_Delete:
        runGuarded(prompt(), [this] { deleteSelected(); });
        return true;
    default:
        return false;
    }
}

bool TSaveform::NameEditKeyDown(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    // The Save action's normal path: its rule first, then its handler.
    if (m_saveAction) {
        m_saveAction->setEnabled(saveAllowed());
        m_saveAction->trigger();
    }
    return true;
}

bool TSaveform::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (watched == AdvListView1 && AdvListView1KeyDown(key))
            return true;
        if (watched == NameEdit && NameEditKeyDown(key))
            return true;
    }
    return ModalDialog::eventFilter(watched, event);
}
