#include "setupsform.h"

#include "services/guard.h"
#include "services/translation.h"
#include "services/windowtranslator.h"
#include "setups/datapaths.h"
#include "setups/setupcatalogue.h"
#include "setups/setuplistview.h"
#include "setups/setupoperations.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QDir>
#include <QKeyEvent>
#include <QStyle>
#include <QToolButton>

namespace {

QIcon menuIcon(int n)
{
    return QIcon(QStringLiteral(":/icons/menu/%1.svg").arg(n));
}

QToolButton *actionButton(QAction *action, const char *name, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(24, 24));
    button->setAutoRaise(true);
    return button;
}

} // namespace

TSetupsform::TSetupsform(Prompt &prompt, Operations operations, QWidget *centreOn, QWidget *parent)
    : ModalDialog(prompt, centreOn, parent)
    , m_operations(std::move(operations))
{
    setObjectName(QStringLiteral("Setupsform"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowTitle(N_("Setups"));
    resize(635, 202);
    setMinimumSize(519, 202);

    ActionList1 = new QObject(this);
    ActionList1->setObjectName(QStringLiteral("ActionList1"));
    auto make
        = [this](const char *name, const QString &caption, const QString &hint, QKeySequence key, int icon) {
              auto *action = new QAction(menuIcon(icon), caption, ActionList1);
              action->setObjectName(QString::fromLatin1(name));
              action->setToolTip(hint);
              action->setStatusTip(hint);
              if (!key.isEmpty()) {
                  action->setShortcut(key);
                  action->setShortcutContext(Qt::WindowShortcut);
              }
              addAction(action);
              return action;
          };
    ActionEditCaption = make(
        "ActionEditCaption", N_("Edit name"), N_("Edit name of selected setup"), QKeySequence(Qt::Key_F2), 8);
    ActionDeleteIcon = make(
        "ActionDeleteIcon", N_("Delete"), N_("Delete selected setup"), QKeySequence(Qt::Key_Delete), 5);
    ActionLoadSetup = make(
        "ActionLoadSetup", N_("Load Setup"), N_("Load selected setup into the Velotrix-Configurator"), {}, 7);
    connect(ActionEditCaption, &QAction::triggered, this, [this] {
        runAction(
            ActionEditCaption, &TSetupsform::ActionEditCaptionUpdate, &TSetupsform::ActionEditCaptionExecute);
    });
    connect(ActionDeleteIcon, &QAction::triggered, this, [this] {
        runAction(
            ActionDeleteIcon, &TSetupsform::ActionDeleteIconUpdate, &TSetupsform::ActionDeleteIconExecute);
    });
    connect(ActionLoadSetup, &QAction::triggered, this, [this] {
        runAction(ActionLoadSetup, &TSetupsform::ActionLoadSetupUpdate, &TSetupsform::ActionLoadSetupExecute);
    });

    AdvListView1 = new TSetupListView(this);
    AdvListView1->setObjectName(QStringLiteral("AdvListView1"));
    // The list's own gesture: a second, slow click on the selected caption.
    AdvListView1->setEditTriggers(QAbstractItemView::SelectedClicked);
    AdvListView1->canEdit = [this](QListWidgetItem *item) { return AdvListView1Editing(item); };
    AdvListView1->onEdited = [this](QListWidgetItem *item, const QString &text) {
        runGuarded(this->prompt(), [&] { AdvListView1Edited(item, text); });
    };
    AdvListView1->installEventFilter(this);
    connect(AdvListView1, &QListWidget::itemDoubleClicked, this, &TSetupsform::AdvListView1DblClick);
    connect(AdvListView1, &QListWidget::itemSelectionChanged, this, &TSetupsform::updateActions);

    EditBtn = actionButton(ActionEditCaption, "EditBtn", this);
    PngSpeedButton1 = actionButton(ActionDeleteIcon, "PngSpeedButton1", this);
    PngSpeedButton2 = actionButton(ActionLoadSetup, "PngSpeedButton2", this);
    PngBitBtn1 = new QToolButton(this);
    PngBitBtn1->setObjectName(QStringLiteral("PngBitBtn1"));
    PngBitBtn1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    PngBitBtn1->setIconSize(QSize(24, 24));
    PngBitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    PngBitBtn1->setText(N_("&Schließen"));
    connect(PngBitBtn1, &QToolButton::clicked, this, &QDialog::reject);

    // Enabling follows the selection whenever the event loop goes idle.
    if (auto *dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TSetupsform::updateActions);
    updateActions();

    FormCreate();
}

TSetupsform::~TSetupsform()
{
    FormDestroy();
}

void TSetupsform::FormCreate()
{
    TranslateComponent(this);
}

void TSetupsform::FormDestroy()
{
    ClearListview_data();
}

void TSetupsform::resizeEvent(QResizeEvent *event)
{
    ModalDialog::resizeEvent(event);
    layoutControls();
}

// Also before every showing: a caption may have changed with the language.
void TSetupsform::FormShow()
{
    layoutControls();
}

void TSetupsform::layoutControls()
{
    // Buttons keep their design width unless their caption needs more (the
    // German captions are longer).
    const auto widthOf = [](QToolButton *b, int design) { return qMax(design, b->sizeHint().width()); };
    const int w = width();
    const int h = height();
    AdvListView1->setGeometry(12, 14, w - 24, h - 77);
    const int edit = widthOf(EditBtn, 85);
    EditBtn->setGeometry(12, h - 57, edit, 53);
    PngSpeedButton1->setGeometry(12 + edit + 6, h - 57, widthOf(PngSpeedButton1, 81), 53);
    const int close = widthOf(PngBitBtn1, 77);
    PngBitBtn1->setGeometry(w - 8 - close, h - 57, close, 53);
    const int load = widthOf(PngSpeedButton2, 85);
    PngSpeedButton2->setGeometry(w - 8 - close - 6 - load, h - 57, load, 53);
}

void TSetupsform::ClearListview_data()
{
    // The items point into the records: empty the list first.
    AdvListView1->clear();
    m_records.clear();
}

const tConfig *TSetupsform::addEntry(std::unique_ptr<tConfig> record, const QString &caption)
{
    const tConfig *kept = record.get();
    m_records.push_back(std::move(record));
    AdvListView1->addEntry(kept, caption);
    return kept;
}

tConfig *TSetupsform::recordOf(QListWidgetItem *item) const
{
    if (!item)
        return nullptr;
    const tConfig *entry = AdvListView1->entryAt(AdvListView1->row(item));
    for (const auto &record : m_records)
        if (record.get() == entry)
            return record.get();
    return nullptr;
}

void TSetupsform::updateActions()
{
    ActionEditCaptionUpdate();
    ActionDeleteIconUpdate();
    ActionLoadSetupUpdate();
}

void TSetupsform::runAction(
    QAction *action, void (TSetupsform::*updateHandler)(), void (TSetupsform::*execute)())
{
    (this->*updateHandler)();
    if (!action->isEnabled())
        return;
    runGuarded(prompt(), [this, execute] { (this->*execute)(); });
}

void TSetupsform::ActionEditCaptionUpdate()
{
    const tConfig *selected = AdvListView1->selectedEntry();
    ActionEditCaption->setEnabled(selected && !selected->ReadOnly);
}

void TSetupsform::ActionDeleteIconUpdate()
{
    const tConfig *selected = AdvListView1->selectedEntry();
    ActionDeleteIcon->setEnabled(selected && !selected->ReadOnly);
}

void TSetupsform::ActionLoadSetupUpdate()
{
    ActionLoadSetup->setEnabled(AdvListView1->selectedEntry() != nullptr);
}

void TSetupsform::ActionEditCaptionExecute()
{
    AdvListView1->editSelected();
}

void TSetupsform::ActionDeleteIconExecute()
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
    if (m_operations.loadSetups)
        m_operations.loadSetups();
}

void TSetupsform::ActionLoadSetupExecute()
{
    const tConfig *selected = AdvListView1->selectedEntry();
    if (!selected)
        return;
    const QString path = selected->Filename;
    // The window closes whatever the answer, and also when the load fails.
    struct CloseAfter
    {
        TSetupsform *form;
        ~CloseAfter() { form->accept(); }
    } closeAfter { this };
    if (m_operations.loadSetup)
        m_operations.loadSetup(path);
}

void TSetupsform::AdvListView1DblClick()
{
    const tConfig *selected = AdvListView1->selectedEntry();
    if (!selected)
        return;
    const QString path = selected->Filename;
    runGuarded(prompt(), [this, &path] {
        if (m_operations.loadSetup)
            m_operations.loadSetup(path);
    });
}

bool TSetupsform::AdvListView1Editing(QListWidgetItem *item) const
{
    const tConfig *record = recordOf(item);
    return record && !record->ReadOnly;
}

void TSetupsform::AdvListView1Edited(QListWidgetItem *item, const QString &text)
{
    tConfig *record = recordOf(item);
    if (!record)
        return;
    if (text.trimmed().isEmpty()) {
        item->setText(record->name);
        return;
    }
    QDir().mkpath(SetupDatapath());
    if (!WriteSetupName(record->Filename, text)) {
        // Nothing was written: the entry keeps its name and caption.
        QString message = tx("The new name could not be written to \"%s\".");
        message.replace(QLatin1String("%s"), QDir::toNativeSeparators(record->Filename));
        prompt().MessageDlgCentered(message, mtError, mbOK);
        return;
    }
    record->name = text.left(MaxSetupNameLength);
    item->setText(text);
    item->setToolTip(text);
}

bool TSetupsform::AdvListView1KeyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F2) {
        const tConfig *selected = AdvListView1->selectedEntry();
        if (selected && !selected->ReadOnly)
            AdvListView1->editSelected();
        return true;
    }
    return false;
}

bool TSetupsform::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == AdvListView1 && event->type() == QEvent::KeyPress
        && AdvListView1KeyDown(static_cast<QKeyEvent *>(event)))
        return true;
    return ModalDialog::eventFilter(watched, event);
}
