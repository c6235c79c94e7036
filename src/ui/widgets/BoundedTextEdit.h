#pragma once

#include "ui/widgets/TextLimit.h"

#include <QPlainTextEdit>

namespace dorvane {

// A multi-line edit for a fixed text field of a file that keeps line breaks
// as CR LF. The limit counts the text as stored; typing beyond it is
// refused, and a text set by the program is shown whole.
class BoundedTextEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    BoundedTextEdit(TextLimit limit, QWidget *parent = nullptr);

    // Shows a stored text (CR LF line breaks) without announcing it.
    void showText(const QString &stored);

signals:
    // The operator changed the text, within the limit; in its stored form.
    void textTyped(const QString &stored);

private:
    void changed();

    TextLimit m_limit;
    QString m_accepted; // stored form
    bool m_showing = false;
};

} // namespace dorvane
