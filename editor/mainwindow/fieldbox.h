#pragma once

#include <QLineEdit>

namespace kq {

// A one-line box of a record field in the panel or the script box: fixed-pitch, like the list,
// and no longer than the field it edits.
class FieldBox : public QLineEdit
{
    Q_OBJECT

public:
    FieldBox(const QString &name, int maxLength, QWidget *parent = nullptr);
};

} // namespace kq
