#include "ui/widgets/BoundedLineEdit.h"

namespace dorvane {

BoundedLineEdit::BoundedLineEdit(TextLimit limit, QWidget *parent)
    : QLineEdit(parent), m_limit(limit)
{
    connect(this, &QLineEdit::textEdited, this, &BoundedLineEdit::edited);
}

void BoundedLineEdit::showText(const QString &text)
{
    m_accepted = text;
    // Rewriting the same text would move the cursor while the operator types.
    if (QLineEdit::text() != text)
        setText(text);
}

void BoundedLineEdit::edited(const QString &text)
{
    if (!m_limit.accepts(m_accepted, text)) {
        const int cursor = cursorPosition() - static_cast<int>(text.size() - m_accepted.size());
        setText(m_accepted);
        setCursorPosition(std::max(0, cursor));
        return;
    }
    m_accepted = text;
    emit textTyped(text);
}

} // namespace dorvane
