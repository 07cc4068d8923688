// TMainform: language menu, help pane placement, manual and website.

#include "app/appwindows.h"
#include "mainform.h"
#include "services/guard.h"
#include "services/helpdocuments.h"
#include "services/helphintform.h"
#include "services/translation.h"
#include "services/windowtranslator.h"
#include "setups/appconfig.h"
#include "setups/setupsform.h"

#include <QAction>
#include <QToolButton>

namespace {

const char *const textIdProperty = "velotrixTextId";
const char *const toolTipIdProperty = "velotrixToolTipId";

} // namespace

void TMainform::markButtonOverride(QToolButton *button, const QString &text, const QString &toolTip)
{
    if (!text.isEmpty())
        button->setProperty(textIdProperty, text);
    if (!toolTip.isEmpty())
        button->setProperty(toolTipIdProperty, toolTip);
    applyButtonOverride(button);
}

void TMainform::applyButtonOverride(QToolButton *button)
{
    const QString text = button->property(textIdProperty).toString();
    const QString toolTip = button->property(toolTipIdProperty).toString();
    if (!text.isEmpty())
        button->setText(tx(text));
    if (!toolTip.isEmpty())
        button->setToolTip(tx(toolTip));
}

void TMainform::connectLanguageAndHelp()
{
    connect(German1, &QAction::triggered, this, [this] { runGuarded(m_prompt, [this] { German1Click(); }); });
    connect(
        English1, &QAction::triggered, this, [this] { runGuarded(m_prompt, [this] { English1Click(); }); });
    connect(HelpButton, &QToolButton::clicked, this,
        [this] { runGuarded(m_prompt, [this] { AdvToolBarPager1HelpClick(); }); });
    connect(Action_PDFHelp, &QAction::triggered, this,
        [this] { runGuarded(m_prompt, [this] { Action_PDFHelpExecute(); }); });
    connect(Action_ShowWebsite, &QAction::triggered, this,
        [this] { runGuarded(m_prompt, [this] { Action_ShowWebsiteExecute(); }); });
}

void TMainform::SwitchLanguage(const QString &code, bool initial)
{
    Language = code.toLower();
    bindTextDomain(QStringLiteral("default"), catalogueFileFor(Language));
    const bool german = Language == QLatin1String("de");
    German1->setChecked(german);
    English1->setChecked(!german);
    setCurrentLanguage(Language);

    if (initial) {
        TranslateComponent(this);
    } else {
        RetranslateComponent(this);
        if (m_windows && m_windows->Setupsform)
            RetranslateComponent(m_windows->Setupsform);
    }
    // Ribbon buttons that show an action under a text of their own take it
    // from here; the window walk leaves them to their action.
    for (QToolButton *button : findChildren<QToolButton *>())
        applyButtonOverride(button);
}

void TMainform::German1Click()
{
    m_config->writeString(QStringLiteral("Application"), QStringLiteral("Language"), QStringLiteral("de"));
    SwitchLanguage(QStringLiteral("de"), false);
}

void TMainform::English1Click()
{
    m_config->writeString(QStringLiteral("Application"), QStringLiteral("Language"), QStringLiteral("en"));
    SwitchLanguage(QStringLiteral("en"), false);
}

void TMainform::AdvToolBarPager1HelpClick()
{
    if (THelpHintForm *pane = m_windows ? m_windows->HelpHintForm : nullptr)
        pane->showFromHelpButton(frameGeometry());
}

void TMainform::Action_PDFHelpExecute()
{
    openManual(Language);
}

void TMainform::Action_ShowWebsiteExecute()
{
    openWebsite();
}

void TMainform::followWithHelpPane()
{
    // The pane does not exist yet while the main window is being made.
    if (THelpHintForm *pane = m_windows ? m_windows->HelpHintForm : nullptr)
        pane->followMainWindow(frameGeometry());
}

void TMainform::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    followWithHelpPane();
}

void TMainform::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    followWithHelpPane();
}
