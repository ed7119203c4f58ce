#include "localizecontrols.h"

#include "language.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QVariant>

namespace kq {

namespace {

// The skinned button lives in a library above this one, so it is known by class name and its
// "Caption" property only.
constexpr char SkinnedButtonClass[] = "kq::KXButton";
constexpr char SkinnedCaption[] = "Caption";
// The text id setCaptionId gave a control.
constexpr char CaptionId[] = "kqCaptionId";

void setCaption(QObject *control, const QString &caption)
{
    if (auto *action = qobject_cast<QAction *>(control))
        action->setText(caption);
    else if (control->inherits(SkinnedButtonClass))
        control->setProperty(SkinnedCaption, caption);
    else if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(caption);
    else if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setText(caption);
}

void localizeAction(QAction *action)
{
    const QString caption = action->text();
    if (caption.isEmpty())
        return;
    // A "-" makes the entry a separator; the text is dropped, since some styles print it
    // beside the line.
    const QString text = languageText(caption);
    const bool separator = text == u"-";
    action->setSeparator(separator);
    action->setText(separator ? QString() : text);
}

void localizeObject(QObject *object)
{
    if (auto *action = qobject_cast<QAction *>(object)) {
        localizeAction(action);
    } else if (object->inherits(SkinnedButtonClass)) {
        const QString caption = object->property(SkinnedCaption).toString();
        if (!caption.isEmpty())
            object->setProperty(SkinnedCaption, languageText(caption));
    } else if (auto *label = qobject_cast<QLabel *>(object)) {
        if (!label->text().isEmpty())
            label->setText(languageText(label->text()));
    } else if (qobject_cast<QPushButton *>(object) || qobject_cast<QRadioButton *>(object)) {
        auto *button = static_cast<QAbstractButton *>(object);
        if (!button->text().isEmpty())
            button->setText(languageText(button->text()));
    }
}

// Children in object order, then the object's own actions that live elsewhere. Other windows
// (owned dialogs) are not part of this window, but its pop-up menus are.
void walk(QObject *object, QSet<QObject *> &seen)
{
    for (QObject *child : object->children()) {
        auto *widget = qobject_cast<QWidget *>(child);
        if (seen.contains(child) ||
            (widget && widget->isWindow() && !qobject_cast<QMenu *>(widget)))
            continue;
        seen.insert(child);
        localizeObject(child);
        walk(child, seen);
    }
    if (auto *widget = qobject_cast<QWidget *>(object)) {
        for (QAction *action : widget->actions()) {
            if (!seen.contains(action)) {
                seen.insert(action);
                localizeAction(action);
            }
        }
    }
}

} // namespace

void setCaptionId(QObject *control, TextId id)
{
    control->setProperty(CaptionId, int(id));
    setCaption(control, resourceId(id));
}

void restoreCaptionIds(QWidget *window)
{
    for (QObject *control : window->findChildren<QObject *>()) {
        const QVariant id = control->property(CaptionId);
        if (id.isValid())
            setCaption(control, resourceId(TextId(id.toInt())));
    }
}

void localizeControls(QWidget *window)
{
    if (!window)
        return;
    QSet<QObject *> seen;
    walk(window, seen);
}

} // namespace kq
