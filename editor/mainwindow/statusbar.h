#pragma once

#include "textid.h"

#include <QFrame>
#include <QHash>
#include <QUrl>

class QLabel;

namespace kq {

// The one-line status bar "statusbar" with its label "sts". It shows a hint for the area under
// the mouse: each area added with addHintArea shows its text while the mouse moves over its own
// background, not over the controls on it. Commands show their results here too.
class StatusBar : public QFrame
{
    Q_OBJECT

public:
    explicit StatusBar(QWidget *parent = nullptr);

    QLabel *label() const { return mSts; }
    void showText(const QString &text);
    // An address no web browser opened: told with the address, which stays until another text is
    // shown, so that it can be selected and copied.
    void showAddressFailure(const QUrl &url);
    // A result with a link after it; the link stays until another text is shown.
    void showLink(const QString &text, const QString &linkText, const QUrl &url);

    // The hint of an area is looked up each time it is shown.
    void addHintArea(QWidget *area, TextId hint);

signals:
    // The link of showLink was clicked or taken from the keyboard.
    void linkActivated(const QUrl &url);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *mSts = nullptr;
    QHash<QObject *, TextId> mHints;
    bool mHoldsAddress = false;
};

} // namespace kq
