#pragma once

#include "textid.h"

#include <QFrame>

#include <array>

namespace kq {

class KXButton;

// The toolbar's buttons from left to right; each value is the number in the button's object name
// ("sd0" to "sd6").
enum class ToolButton { New, Open, Save, Test, Build, Management, Help };

// The toolbar: seven skinned buttons in three groups (New, Open, Save | Test, Build | management,
// help) with two separator lines. It only reports which button was used.
class MainToolbar : public QFrame
{
    Q_OBJECT

public:
    static constexpr int ButtonCount = 7;

    explicit MainToolbar(QWidget *parent = nullptr);

    // The id of the status bar hint of a button.
    static TextId hint(ToolButton which);

    KXButton *button(ToolButton which) const { return mButtons.at(int(which)); }
    // Places the buttons from their current widths; help and management keep to the right.
    void layoutButtons();

signals:
    void clicked(kq::ToolButton which);
    void arrowClicked(kq::ToolButton which);
    void mouseIn(kq::ToolButton which);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    std::array<KXButton *, ButtonCount> mButtons{};
    std::array<QFrame *, 2> mLines{};
};

} // namespace kq
