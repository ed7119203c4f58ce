#pragma once

#include <QFrame>

#include <array>

class QRadioButton;

namespace kq {

class ProjectDocument;

// The project style options: they show the style the header holds (none for a broken header)
// and send the user's choice to the document.
class ProjectStyleBox : public QFrame
{
    Q_OBJECT

public:
    explicit ProjectStyleBox(ProjectDocument &document, QWidget *parent = nullptr);

    void selectStyle(int style);

signals:
    // Before the header changes: typing that has not reached the document is written first.
    void aboutToEdit();

private:
    void showHeader();

    ProjectDocument &mDocument;
    std::array<QRadioButton *, 2> mOptions{};
};

} // namespace kq
