#pragma once

#include "textid.h"

#include <QFrame>

#include <array>

namespace kq {

class KXButton;

// The toolbar: seven skinned buttons in three groups (New, Open, Save | Test, Build | management,
// help) with two separator lines. It only reports which button was used.
class MainToolbar : public QFrame
{
    Q_OBJECT

public:
    static constexpr int ButtonCount = 7;

    explicit MainToolbar(QWidget *parent = nullptr);

    // The id of the status bar hint of a button.
    static TextId hint(int index);

    KXButton *button(int index) const { return mButtons.at(index); }
    // Places the buttons from their current widths; help and management keep to the right.
    void layoutButtons();

signals:
    void clicked(int index);
    void arrowClicked(int index);
    void mouseIn(int index);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    std::array<KXButton *, ButtonCount> mButtons{};
    std::array<QFrame *, 2> mLines{};
};

} // namespace kq
