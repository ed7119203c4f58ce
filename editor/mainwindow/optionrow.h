#pragma once

#include "textid.h"

#include <QHBoxLayout>
#include <QList>

#include <initializer_list>

class QRadioButton;

namespace kq {

// A row of option buttons "<name>0", "<name>1", ... with the resource ids as their captions.
// chosen reports the user's choice only, so a click on the option that is already selected
// changes nothing; program code shows an option with showOption without running a handler.
class OptionRow : public QHBoxLayout
{
    Q_OBJECT

public:
    OptionRow(const QString &name, std::initializer_list<TextId> ids, QWidget *parent);

    QRadioButton *option(int index) const { return mOptions.at(index); }
    int count() const { return int(mOptions.size()); }
    // Shows option index, or none for an index outside the row (a broken record).
    void showOption(int index);

signals:
    void chosen(int index);

private:
    QList<QRadioButton *> mOptions;
};

} // namespace kq
