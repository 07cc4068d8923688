#include "controlstyle.h"

#include "slideswitch.h"
#include "twostatebutton.h"

#include <QAccessible>
#include <QAccessibleWidget>

QColor ControlStyle::faded(const QColor &c)
{
    return QColor((c.red() + 2 * 255) / 3, (c.green() + 2 * 255) / 3, (c.blue() + 2 * 255) / 3);
}

namespace {

// A two-state button reads as a toggle button: named by its caption or, when
// it has none, by its tool tip.
class TwoStateButtonAccessible : public QAccessibleWidget
{
public:
    explicit TwoStateButtonAccessible(TTwoStateButton *button)
        : QAccessibleWidget(button, QAccessible::Button)
    {
    }

    TTwoStateButton *button() const { return static_cast<TTwoStateButton *>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const QString explicitName = widget()->accessibleName();
            return explicitName.isEmpty() ? button()->accessibleCaption() : explicitName;
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = button()->isChecked();
        s.pressed = button()->isDown();
        return s;
    }

    QStringList actionNames() const override
    {
        QStringList names;
        if (widget()->isEnabled())
            names << pressAction() << toggleAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &name) override
    {
        if (!widget()->isEnabled())
            return;
        if (name == pressAction() || name == toggleAction())
            button()->click();
        else
            QAccessibleWidget::doAction(name);
    }
};

// A slide switch reads as a check box named by the caption it shows.
class SlideSwitchAccessible : public QAccessibleWidget
{
public:
    explicit SlideSwitchAccessible(TSlideSwitch *slideSwitch)
        : QAccessibleWidget(slideSwitch, QAccessible::CheckBox)
    {
    }

    TSlideSwitch *slideSwitch() const { return static_cast<TSlideSwitch *>(widget()); }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name) {
            const QString explicitName = widget()->accessibleName();
            return explicitName.isEmpty() ? slideSwitch()->currentCaption() : explicitName;
        }
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.checkable = true;
        s.checked = slideSwitch()->isOn();
        return s;
    }

    QStringList actionNames() const override
    {
        QStringList names;
        if (widget()->isEnabled())
            names << toggleAction();
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &name) override
    {
        if (name != toggleAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        if (!widget()->isEnabled())
            return;
        slideSwitch()->click();
    }
};

QAccessibleInterface *controlAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TTwoStateButton"))
        if (auto *button = qobject_cast<TTwoStateButton *>(object))
            return new TwoStateButtonAccessible(button);
    if (className == QLatin1String("TSlideSwitch"))
        if (auto *slideSwitch = qobject_cast<TSlideSwitch *>(object))
            return new SlideSwitchAccessible(slideSwitch);
    return nullptr;
}

} // namespace

void installControlAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(controlAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
