#pragma once

#include "managementpage.h"
#include "theme.h"

#include <array>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kq {

// The themes page: the theme files of the Themes folder and an editor of the selected theme's
// ten colours with a preview. Selecting a theme makes it the setting; a user theme ("*") can be
// edited and saved, a new one starts from fixed colours.
class ThemePage : public ManagementPage
{
    Q_OBJECT

public:
    ThemePage(UiServices &ui, QWidget *parent);

    void fill() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPreview();
    void themeSelected();
    void colorEntrySelected();
    void editColor();
    void refreshPreview();
    void newTheme();
    void deleteTheme();
    void saveTheme();

    // The colours as the preview shows them and saving writes them.
    ThemeColors mColors{};

    QComboBox *mList = nullptr;
    std::array<QPushButton *, 3> mButtons{};
    QComboBox *mColorEntry = nullptr;
    QLabel *mColorSwatch = nullptr;
    QFrame *mPalette = nullptr;
    QFrame *mBox = nullptr;
    QLineEdit *mTextActive = nullptr;
    QLineEdit *mTextInactive = nullptr;
    QLabel *mLabelActive = nullptr;
    QLabel *mLabelInactive = nullptr;
    QPushButton *mButtonActive = nullptr;
    QPushButton *mButtonInactive = nullptr;
};

} // namespace kq
