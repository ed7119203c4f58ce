#pragma once

#include "areaframe.h"

namespace kq {

class OptionRow;
class ProjectDocument;

// The project style options: they show the style the header holds (none for a broken header)
// and send the user's choice to the document.
class ProjectStyleBox : public AreaFrame
{
    Q_OBJECT

public:
    explicit ProjectStyleBox(ProjectDocument &document, QWidget *parent = nullptr);

    void selectStyle(int style);

private:
    void showHeader();

    ProjectDocument &mDocument;
    OptionRow *mOptions = nullptr;
};

} // namespace kq
