#include "aboutwindow.h"

#include "editorlook.h"
#include "language.h"
#include "optionsetting.h"
#include "productinfo.h"
#include "uiservices.h"
#include "windowsystem.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>

namespace kq {

namespace {

const QColor LinkHover(0, 0, 255);
const QColor LinkRest(0, 0, 180);

// "Made at Kestrane" becomes "M A D E   A T   K E S T R A N E".
QString spacedOut(const QString &line)
{
    QString spaced;
    for (const QChar c : line.toUpper()) {
        if (!spaced.isEmpty())
            spaced += u' ';
        spaced += c;
    }
    return spaced;
}

struct Line
{
    QString russian;
    QString english;
    int top;
    int height;
    int pixelSize;
    QFont::Weight weight;
    QColor color;
};

// Each line in its place over the picture's calm lower part, in the picture's own blues.
const QList<Line> &lines()
{
    static const QColor navy(28, 47, 94);
    static const QColor blue(47, 95, 179);
    static const QColor ink(58, 74, 104);
    static const QList<Line> table{
        {QStringLiteral("Программа для создания 32-битных диалоговых приложений под Windows."),
         QStringLiteral("Quorvex will help you in creating 32-bit dialoged Windows applications."),
         114, 38, 13, QFont::Normal, navy},
        {QStringLiteral("Версия 2.0 Beta"), QStringLiteral("Version 2.0 Beta"), 154, 20, 13,
         QFont::Bold, blue},
        {QStringLiteral("Идея, программирование и графика: Kestrane Development"),
         QStringLiteral("Idea, programming and artwork: Kestrane Development"), 176, 20, 12,
         QFont::Normal, ink},
        {QStringLiteral("Спасибо бета-тестерам:"), QStringLiteral("Special thanks to:"), 208, 20,
         12, QFont::Bold, navy},
        {QStringLiteral("Arvid, Leila, Timur, Ingrid, Marek, Oksana, Yannick"),
         QStringLiteral("Arvid, Leila, Timur, Ingrid, Marek, Oksana, Yannick"), 228, 20, 12,
         QFont::Normal, ink},
        {QStringLiteral("И всем-всем, кто работает с моей прогаммой!!!"),
         QStringLiteral("And to everybody, who works with my program!!!"), 254, 20, 12,
         QFont::Normal, ink},
        {spacedOut(QStringLiteral("Сделано в Kestrane Development")),
         spacedOut(QStringLiteral("Made at Kestrane Development")), 294, 18, 10, QFont::Normal,
         QColor(84, 104, 138)},
    };
    return table;
}

constexpr int TextLeft = 28;
constexpr int TextWidth = 513;

} // namespace

AboutWindow::AboutWindow(UiServices &ui, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), mUi(ui), mPct(new QLabel(this)),
      mMail(nullptr), mIin(new QTimer(this)), mIout(new QTimer(this))
{
    setObjectName(QStringLiteral("about"));
    setModal(true);
    mPct->setObjectName(QStringLiteral("pct"));
    mPct->setPixmap(EditorLook::artwork(QStringLiteral("about.png")));
    mPct->setGeometry(0, 0, 569, 376);
    setFixedSize(mPct->size());

    for (int i = 0; i < lines().size(); ++i) {
        const Line &line = lines().at(i);
        auto *label = new QLabel(line.russian, this);
        label->setObjectName(QStringLiteral("lbl") + QString::number(i));
        QFont font = label->font();
        font.setPixelSize(line.pixelSize);
        font.setWeight(line.weight);
        label->setFont(font);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, line.color);
        label->setPalette(palette);
        label->setWordWrap(true);
        label->setGeometry(TextLeft, line.top, TextWidth, line.height);
        label->installEventFilter(this);
        mLbl.append(label);
    }

    mMail = new QLabel(ProductWebPage, this);
    mMail->setObjectName(QStringLiteral("g_mail"));
    QFont linkFont = mMail->font();
    linkFont.setPixelSize(12);
    linkFont.setUnderline(true);
    mMail->setFont(linkFont);
    mMail->setCursor(Qt::PointingHandCursor);
    mMail->adjustSize();
    mMail->move(TextLeft, 328);
    mMail->installEventFilter(this);
    setLinkColor(LinkRest);
    mPct->installEventFilter(this);

    if (languageHeaderValue(optionSetting(OptionRead, OptionLanguage), QStringLiteral("GetId")) ==
        QStringLiteral("1"))
        applyEnglishTexts();

    WindowSystem::setWindowAlpha(this, 0);
    mIin->setObjectName(QStringLiteral("iin"));
    mIin->setInterval(10);
    connect(mIin, &QTimer::timeout, this, &AboutWindow::fadeInTick);
    mIout->setObjectName(QStringLiteral("iout"));
    mIout->setInterval(10);
    connect(mIout, &QTimer::timeout, this, &AboutWindow::fadeOutTick);
    mIin->start();
}

void AboutWindow::fadeInTick()
{
    mOpacity += 6;
    if (mOpacity < 256)
        WindowSystem::setWindowAlpha(this, mOpacity);
    else
        mIin->stop();
}

void AboutWindow::fadeOutTick()
{
    mOpacity -= 6;
    if (mOpacity > 0) {
        WindowSystem::setWindowAlpha(this, mOpacity);
    } else {
        mIout->stop();
        close();
    }
}

void AboutWindow::startFadeOut()
{
    mIin->stop();
    if (!mIout->isActive())
        mIout->start();
}

bool AboutWindow::eventFilter(QObject *watched, QEvent *event)
{
    const bool isMail = watched == mMail;
    switch (event->type()) {
    case QEvent::Enter:
        setLinkColor(isMail ? LinkHover : LinkRest);
        break;
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const auto *widget = static_cast<QWidget *>(watched);
        if (mouse->button() != Qt::LeftButton ||
            !widget->rect().contains(mouse->position().toPoint()))
            break;
        if (!isMail)
            startFadeOut();
        else if (!mUi.openUrl(QUrl(ProductWebPage), this,
                              [this] { emit addressNotOpened(QUrl(ProductWebPage)); }))
            emit addressNotOpened(QUrl(ProductWebPage));
        return true;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void AboutWindow::keyPressEvent(QKeyEvent *event)
{
    // Esc would close the window at once; it fades out like a click instead.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        startFadeOut();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void AboutWindow::applyEnglishTexts()
{
    for (int i = 0; i < mLbl.size(); ++i)
        mLbl.at(i)->setText(lines().at(i).english);
}

void AboutWindow::setLinkColor(const QColor &color)
{
    QPalette palette = mMail->palette();
    palette.setColor(QPalette::WindowText, color);
    mMail->setPalette(palette);
}

} // namespace kq
