#include "digitkeyfilter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

namespace kq {

DigitKeyFilter::DigitKeyFilter(QLineEdit *box, Empty empty, Full full)
    : QObject(box), mBox(box), mEmpty(empty), mFull(full)
{
    box->installEventFilter(this);
}

bool DigitKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mBox && event->type() == QEvent::KeyPress)
        return filter(static_cast<QKeyEvent *>(event));
    return QObject::eventFilter(watched, event);
}

bool DigitKeyFilter::takes(const QString &typed) const
{
    QString text = QString(mBox->text()).insert(mBox->cursorPosition(), typed);
    int position = int(text.size());
    return text.size() <= mBox->maxLength() &&
           (!mBox->validator() ||
            mBox->validator()->validate(text, position) != QValidator::Invalid);
}

bool DigitKeyFilter::filter(QKeyEvent *event)
{
    // Only keys that type a character are filtered; Tab, the cursor keys and the command keys
    // (Ctrl+A, Ctrl+C, Ctrl+V: the box's validator checks what is pasted) keep their work.
    const QString typed = event->text();
    if (typed.isEmpty() || event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    const QChar key = typed.front();
    const bool passes = typed.size() == 1 && ((key >= u'0' && key <= u'9') || key == u'\b');
    if (!passes)
        QApplication::beep();
    if (mEmpty == Empty::ZeroWhenEmpty && mBox->text().isEmpty()) {
        // Selected, so that the digit typed next replaces the "0".
        mBox->setText(QStringLiteral("0"));
        mBox->selectAll();
    } else if (passes && key != u'\b' && !mBox->hasSelectedText() && !takes(typed)) {
        // A full box, or one whose value the digit would make too large, would refuse the digit
        // without a sign. A box that shows a value it takes keeps it and says so; otherwise (or
        // where that is wished) it starts over with the digit.
        if (mFull == Full::Refused && takes(QString())) {
            QApplication::beep();
            return true;
        }
        mBox->selectAll();
    }
    return !passes;
}

} // namespace kq
