#include "ui/app/PipeAttributesPanel.h"

#include "core/data/AnimationFileHeader.h"
#include "ui/widgets/UiText.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace dorvane {

namespace {
QLineEdit *edit(const char *name, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    return e;
}
} // namespace

PipeAttributesPanel::PipeAttributesPanel(QWidget *parent)
    : QWidget(parent), m_place(edit("placeEdit", this)), m_startWell(edit("startWellEdit", this)),
      m_endWell(edit("endWellEdit", this))
{
    setObjectName("pipeAttributesPanel");
    auto *form = new QFormLayout(this);
    form->addRow(new QLabel(uiText(292), this), m_place);
    form->addRow(new QLabel(uiText(293), this), m_startWell);
    form->addRow(new QLabel(uiText(294), this), m_endWell);
    for (QLineEdit *e : {m_place, m_startWell, m_endWell})
        connect(e, &QLineEdit::textEdited, this, &PipeAttributesPanel::store);
}

void PipeAttributesPanel::load(AnimationFileHeader &header)
{
    m_header = &header;
    m_place->setText(fromGbk(header.place()));
    m_startWell->setText(fromGbk(header.startWell()));
    m_endWell->setText(fromGbk(header.endWell()));
}

void PipeAttributesPanel::store()
{
    if (!m_header)
        return;
    // The header takes at most 64, 8 and 8 bytes of GBK, whole characters.
    m_header->setPlace(toGbk(m_place->text()));
    m_header->setStartWell(toGbk(m_startWell->text()));
    m_header->setEndWell(toGbk(m_endWell->text()));
    emit edited();
}

} // namespace dorvane
