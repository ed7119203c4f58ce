#pragma once

#include <QObject>

class QKeyEvent;
class QLineEdit;

namespace kq {

// The key filter of the time box and the script argument box: digits and Backspace pass, any
// other typed key is swallowed with a beep; command keys such as Ctrl+A keep their work. It watches
// the box it is made for and belongs to it.
class DigitKeyFilter : public QObject
{
    Q_OBJECT

public:
    // ZeroWhenEmpty: an empty box becomes "0" before the key takes effect (the time box).
    enum class Empty { Stays, ZeroWhenEmpty };

    // StartsOver: a digit the box cannot take replaces its text (a two-digit step number).
    // Refused: the digit is refused with a beep and the number stays (a time is never wiped).
    enum class Full { StartsOver, Refused };

    DigitKeyFilter(QLineEdit *box, Empty empty, Full full = Full::StartsOver);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // True when the key is swallowed.
    bool filter(QKeyEvent *event);
    // Whether the box would take the text typed at its cursor as the user goes on typing.
    bool takes(const QString &typed) const;

    QLineEdit *mBox;
    Empty mEmpty;
    Full mFull;
};

} // namespace kq
