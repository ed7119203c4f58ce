#pragma once

#include <QAccessibleWidget>

namespace kq {

class KXButton;

// What assistive technology sees of a KXButton: a push button named by its caption (or, for a
// picture-only button, by its tooltip), checkable in Mode 1, with a menu action in Modes 2 and 3.
class KXButtonAccessible : public QAccessibleWidget
{
public:
    explicit KXButtonAccessible(KXButton *button);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &actionName) override;
    QStringList keyBindingsForAction(const QString &actionName) const override;

    // Installed once per program: the first KXButton created calls it.
    static void installFactory();

private:
    KXButton *button() const;
};

} // namespace kq
