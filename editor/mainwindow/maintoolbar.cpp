#include "maintoolbar.h"

#include "editorlook.h"
#include "kxbutton.h"
#include "localizecontrols.h"

#include <optional>

namespace kq {

namespace {

constexpr int ToolbarHeight = 31;
constexpr int ButtonTop = 3;
constexpr int ButtonHeight = 25;
const QColor LineColor(178, 178, 178);

// What each button shows: its picture, its caption (management and help have none) and its hint.
struct ButtonLook
{
    const char *picture;
    std::optional<TextId> caption;
    TextId hint;
};

constexpr ButtonLook ButtonLooks[MainToolbar::ButtonCount] = {
    {"new.png", TextId::ToolNew, TextId::HintNew},
    {"open.png", TextId::ToolOpen, TextId::HintOpen},
    {"save.png", TextId::ToolSave, TextId::HintSave},
    {"test.png", TextId::ToolTest, TextId::HintTest},
    {"build.png", TextId::ToolBuild, TextId::HintBuild},
    {"manage.png", std::nullopt, TextId::HintManagement},
    {"help.png", std::nullopt, TextId::HintHelp}};

} // namespace

TextId MainToolbar::hint(ToolButton which)
{
    return ButtonLooks[int(which)].hint;
}

MainToolbar::MainToolbar(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("toolbar"));
    setFixedHeight(ToolbarHeight);
    setMouseTracking(true);

    for (int i = 0; i < ButtonCount; ++i) {
        auto *button = new KXButton(this);
        button->setObjectName(QStringLiteral("sd") + QString::number(i));
        button->setProperty("index", i);
        const auto which = ToolButton(i);
        button->setAutoSize(true);
        // Open, Save and Build have a pop-up menu beside their main command.
        const bool hasMenu =
            which == ToolButton::Open || which == ToolButton::Save || which == ToolButton::Build;
        button->setMode(hasMenu ? KXButton::Mode::DropDown : KXButton::Mode::Plain);
        const ButtonLook &look = ButtonLooks[i];
        button->setPicture(
            EditorLook::artwork(QStringLiteral("mainwindow/") + QLatin1String(look.picture)));
        if (look.caption)
            setCaptionId(button, *look.caption);
        else
            button->setCaption(QString());
        button->setGeometry(0, ButtonTop, button->width(), ButtonHeight);
        connect(button, &KXButton::clicked, this, [this, which] { emit clicked(which); });
        connect(button, &KXButton::arrowClicked, this, [this, which] { emit arrowClicked(which); });
        connect(button, &KXButton::pointerEntered, this, [this, which] { emit mouseIn(which); });
        mButtons[i] = button;
    }
    for (int i = 0; i < 2; ++i) {
        auto *line = new QFrame(this);
        line->setObjectName(QStringLiteral("lnl") + QString::number(i));
        line->setAutoFillBackground(true);
        QPalette palette = line->palette();
        palette.setColor(QPalette::Window, LineColor);
        line->setPalette(palette);
        line->setGeometry(0, ButtonTop + 2, 1, ButtonHeight - 4);
        mLines[i] = line;
    }
}

void MainToolbar::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    layoutButtons();
}

void MainToolbar::layoutButtons()
{
    const auto place = [](KXButton *button, int left) { button->move(left, button->y()); };
    const auto right = [](const QWidget *widget) { return widget->x() + widget->width(); };
    place(mButtons[0], 0);
    place(mButtons[1], mButtons[0]->width());
    place(mButtons[2], right(mButtons[1]));
    mLines[0]->move(right(mButtons[2]) + 1, mLines[0]->y());
    place(mButtons[3], mLines[0]->x() + 2);
    place(mButtons[4], right(mButtons[3]));
    mLines[1]->move(right(mButtons[4]) + 1, mLines[1]->y());
    place(mButtons[6], width() - mButtons[6]->width() - 1);
    place(mButtons[5], mButtons[6]->x() - mButtons[5]->width());
}

} // namespace kq
