#include "ui/widgets/BoundedTextEdit.h"

namespace dorvane {

namespace {

QString storedForm(const QString &shown)
{
    QString text = shown;
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QString shownForm(const QString &stored)
{
    QString text = stored;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

BoundedTextEdit::BoundedTextEdit(TextLimit limit, QWidget *parent)
    : QPlainTextEdit(parent), m_limit(limit)
{
    connect(this, &QPlainTextEdit::textChanged, this, &BoundedTextEdit::changed);
}

void BoundedTextEdit::showText(const QString &stored)
{
    m_accepted = stored;
    const QString shown = shownForm(stored);
    if (toPlainText() == shown)
        return;
    m_showing = true;
    setPlainText(shown);
    m_showing = false;
}

void BoundedTextEdit::changed()
{
    if (m_showing)
        return;
    const QString stored = storedForm(toPlainText());
    if (stored == m_accepted)
        return;
    if (!m_limit.accepts(m_accepted, stored)) {
        const int cursor = textCursor().position() -
                           static_cast<int>(toPlainText().size() - shownForm(m_accepted).size());
        m_showing = true;
        setPlainText(shownForm(m_accepted));
        m_showing = false;
        QTextCursor restored = textCursor();
        restored.setPosition(std::clamp(cursor, 0, static_cast<int>(toPlainText().size())));
        setTextCursor(restored);
        return;
    }
    m_accepted = stored;
    emit textTyped(stored);
}

} // namespace dorvane
