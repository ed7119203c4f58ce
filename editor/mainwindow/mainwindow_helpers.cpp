#include "mainwindow_helpers.h"

#include <QFrame>

namespace kq::mainwindow {

QFrame *panel(const QString &name, QWidget *parent)
{
    auto *frame = new QFrame(parent);
    setUpPanel(frame, name);
    return frame;
}

void setUpPanel(QFrame *frame, const QString &name)
{
    frame->setObjectName(name);
    frame->setFrameShape(QFrame::StyledPanel);
    frame->setAutoFillBackground(true);
    frame->setMouseTracking(true);
}

} // namespace kq::mainwindow

#include "editorlook.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

namespace kq::mainwindow {

void showOption(std::span<QRadioButton *const> options, int index)
{
    for (QRadioButton *option : options) {
        const QSignalBlocker blocker(option);
        // A group whose buttons exclude each other cannot show no selection.
        option->setAutoExclusive(false);
        option->setChecked(false);
    }
    if (index >= 0 && index < int(options.size())) {
        const QSignalBlocker blocker(options[index]);
        options[index]->setChecked(true);
    }
    for (QRadioButton *option : options)
        option->setAutoExclusive(true);
}

bool filterDigitKey(QLineEdit *box, QKeyEvent *event, bool zeroWhenEmpty)
{
    // Only keys that type a character are filtered; Tab and the cursor keys keep their work.
    const QString typed = event->text();
    if (typed.isEmpty() || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        return false;
    const QChar key = typed.front();
    const bool passes = typed.size() == 1 && ((key >= u'0' && key <= u'9') || key == u'\b');
    if (!passes)
        QApplication::beep();
    if (zeroWhenEmpty && box->text().isEmpty()) {
        // Selected, so that the digit typed next replaces the "0".
        box->setText(QStringLiteral("0"));
        box->selectAll();
    } else if (passes && key != u'\b' && !box->hasSelectedText() &&
               box->text().size() >= box->maxLength()) {
        // A full box would refuse the digit without a sign; it starts over with it instead.
        box->selectAll();
    }
    return !passes;
}

QLineEdit *textBox(const QString &name, int maxLength, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaxLength(maxLength);
    box->setFont(EditorLook::fixedPitchFont());
    return box;
}

} // namespace kq::mainwindow
