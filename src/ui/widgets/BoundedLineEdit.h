#pragma once

#include "ui/widgets/TextLimit.h"

#include <QLineEdit>

namespace dorvane {

// A line edit for a fixed text field of a file. Typing that the field could
// not store is refused instead of being cut when stored, and a text set by
// the program is shown whole, however long it is.
class BoundedLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    BoundedLineEdit(TextLimit limit, QWidget *parent = nullptr);

    // Shows text without announcing it as typed.
    void showText(const QString &text);

signals:
    // The operator changed the text, within the limit.
    void textTyped(const QString &text);

private:
    void edited(const QString &text);

    TextLimit m_limit;
    QString m_accepted;
};

} // namespace dorvane
