#pragma once

#include <QDialog>
#include <QList>

class QLabel;
class QTimer;
class QUrl;

namespace kq {

class UiServices;

// The borderless About window: a picture with seven text lines and the web page link. It fades
// in when opened; a click on it, or Esc, fades it out and closes it, which ends exec().
class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    AboutWindow(UiServices &ui, QWidget *parent);

    // One step of `iin`: 6 more opacity until it passes 255, then `iin` stops at 252.
    void fadeInTick();
    // One step of `iout`: 6 less opacity; at 0 or below the window closes.
    void fadeOutTick();
    // Stops the fade-in and fades out from the opacity reached.
    void startFadeOut();

    int opacity() const { return mOpacity; }

signals:
    // No web browser opened the product's page.
    void addressNotOpened(const QUrl &url);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void applyEnglishTexts();
    void setLinkColor(const QColor &color);

    UiServices &mUi;
    QLabel *mPct;
    QList<QLabel *> mLbl;
    QLabel *mMail;
    QTimer *mIin;
    QTimer *mIout;
    qint16 mOpacity = 0;
};

} // namespace kq
