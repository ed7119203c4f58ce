#include "kxbuttonaccessible.h"

#include "kxbutton.h"
#include "mnemonic.h"

#include <QKeySequence>

#include <mutex>

namespace kq {

namespace {

QAccessibleInterface *createInterface(const QString &className, QObject *object)
{
    Q_UNUSED(className)
    if (auto *button = qobject_cast<KXButton *>(object))
        return new KXButtonAccessible(button);
    return nullptr;
}

bool hasArrow(const KXButton *button)
{
    return button->hasArrow();
}

} // namespace

KXButtonAccessible::KXButtonAccessible(KXButton *button)
    : QAccessibleWidget(button, QAccessible::Button)
{
}

void KXButtonAccessible::installFactory()
{
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(createInterface); });
}

KXButton *KXButtonAccessible::button() const
{
    return static_cast<KXButton *>(widget());
}

QString KXButtonAccessible::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name: {
        // An explicit name wins, as for Qt's own buttons; a button without a caption is known by
        // its tooltip.
        QString name = widget()->accessibleName();
        if (name.isEmpty())
            name = withoutMnemonic(button()->caption());
        return name.isEmpty() ? widget()->toolTip() : name;
    }
    case QAccessible::Accelerator:
        return QKeySequence::mnemonic(button()->caption()).toString(QKeySequence::NativeText);
    default:
        return QAccessibleWidget::text(t);
    }
}

QAccessible::State KXButtonAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    if (button()->mode() == KXButton::Mode::Toggle) {
        state.checkable = true;
        state.checked = button()->check();
    }
    state.hasPopup = hasArrow(button());
    return state;
}

QStringList KXButtonAccessible::actionNames() const
{
    if (!widget()->isEnabled())
        return {};
    QStringList names{pressAction()};
    if (hasArrow(button()))
        names << showMenuAction();
    return names;
}

void KXButtonAccessible::doAction(const QString &actionName)
{
    if (!widget()->isEnabled())
        return;
    if (actionName == pressAction())
        button()->click();
    else if (actionName == showMenuAction() && hasArrow(button()))
        button()->arrowClick();
}

QStringList KXButtonAccessible::keyBindingsForAction(const QString &actionName) const
{
    if (actionName != pressAction())
        return {};
    const QKeySequence key = QKeySequence::mnemonic(button()->caption());
    return key.isEmpty() ? QStringList() : QStringList{key.toString(QKeySequence::NativeText)};
}

} // namespace kq
