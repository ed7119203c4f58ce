#include "statusbar.h"

#include "language.h"
#include "localizecontrols.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

namespace kq {

StatusBar::StatusBar(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("statusbar"));
    setMouseTracking(true);
    mSts = new QLabel(this);
    setCaptionId(mSts, TextId::StatusReady);
    mSts->setObjectName(QStringLiteral("sts"));
    connect(mSts, &QLabel::linkActivated, this,
            [this](const QString &link) { emit linkActivated(QUrl(link)); });
    mSts->setMouseTracking(true);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 3, 8, 3);
    layout->addWidget(mSts);
    addHintArea(this, TextId::StatusReady);
    addHintArea(mSts, TextId::StatusReady);
}

void StatusBar::showText(const QString &text)
{
    mHoldsAddress = false;
    mSts->setTextFormat(Qt::PlainText);
    mSts->setTextInteractionFlags(Qt::NoTextInteraction);
    mSts->setText(text);
}

void StatusBar::showLink(const QString &text, const QString &linkText, const QUrl &url)
{
    mSts->setTextFormat(Qt::RichText);
    mSts->setText(text.toHtmlEscaped() + QStringLiteral(" <a href=\"") +
                  url.toString(QUrl::FullyEncoded).toHtmlEscaped() + QStringLiteral("\">") +
                  linkText.toHtmlEscaped() + QStringLiteral("</a>"));
    mSts->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    mHoldsAddress = true;
}

void StatusBar::showAddressFailure(const QUrl &url)
{
    showText(languageText(TextId::AddressNotOpened).arg(url.toDisplayString()));
    mSts->setTextInteractionFlags(Qt::TextSelectableByMouse);
    mHoldsAddress = true;
}

void StatusBar::addHintArea(QWidget *area, TextId hint)
{
    area->setMouseTracking(true);
    area->installEventFilter(this);
    mHints.insert(area, hint);
}

bool StatusBar::eventFilter(QObject *watched, QEvent *event)
{
    // The pointer on its way to select the address does not replace it by a hint.
    const bool overAddress = mHoldsAddress && (watched == this || watched == mSts);
    if (event->type() == QEvent::MouseMove && mHints.contains(watched) && !overAddress) {
        // Only the area's own background shows its hint, not the controls on it.
        auto *area = static_cast<QWidget *>(watched);
        if (!area->childAt(static_cast<QMouseEvent *>(event)->position().toPoint()))
            showText(languageText(mHints.value(watched)));
    }
    return QFrame::eventFilter(watched, event);
}

} // namespace kq
