#include "ui/app/PipeAttributesPanel.h"

#include "core/app/TextIds.h"
#include "core/data/AnimationFileHeader.h"
#include "ui/widgets/BoundedLineEdit.h"
#include "ui/widgets/ReportCellSettings.h"
#include "ui/widgets/UiText.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace dorvane {

namespace {

BoundedLineEdit *edit(const char *name, int bytes, QWidget *parent)
{
    // The header keeps the whole field: no terminating zero is needed.
    auto *e = new BoundedLineEdit(TextLimit{bytes, bytes}, parent);
    e->setObjectName(name);
    return e;
}

QLineEdit *reportCellEdit(const char *name, const QString &text, QWidget *parent)
{
    auto *e = new QLineEdit(text, parent);
    e->setObjectName(name);
    e->setToolTip(uiText(text::ReportOnlyTip));
    return e;
}

} // namespace

PipeAttributesPanel::PipeAttributesPanel(QWidget *parent)
    : QWidget(parent),
      m_place(edit("placeEdit", static_cast<int>(AnimationFileHeader::PlaceBytes), this)),
      m_startWell(edit("startWellEdit", static_cast<int>(AnimationFileHeader::WellBytes), this)),
      m_endWell(edit("endWellEdit", static_cast<int>(AnimationFileHeader::WellBytes), this)),
      m_surveyDate(reportCellEdit("surveyDateEdit", ReportCellSettings::surveyDate(), this)),
      m_company(reportCellEdit("companyEdit", ReportCellSettings::company(), this))
{
    setObjectName("pipeAttributesPanel");
    auto *form = new QFormLayout(this);
    form->addRow(new QLabel(uiText(text::PlaceLabel), this), m_place);
    form->addRow(new QLabel(uiText(text::StartWellLabel), this), m_startWell);
    form->addRow(new QLabel(uiText(text::EndWellLabel), this), m_endWell);
    form->addRow(new QLabel(uiText(text::SurveyDateLabel), this), m_surveyDate);
    form->addRow(new QLabel(uiText(text::CompanyLabel), this), m_company);
    connect(m_surveyDate, &QLineEdit::textEdited, this, &ReportCellSettings::setSurveyDate);
    connect(m_company, &QLineEdit::textEdited, this, &ReportCellSettings::setCompany);

    connect(m_place, &BoundedLineEdit::textTyped, this, [this](const QString &text) {
        emit editRequested([gbk = toGbk(text)](AnimationFileHeader &h) { h.setPlace(gbk); });
    });
    connect(m_startWell, &BoundedLineEdit::textTyped, this, [this](const QString &text) {
        emit editRequested([gbk = toGbk(text)](AnimationFileHeader &h) { h.setStartWell(gbk); });
    });
    connect(m_endWell, &BoundedLineEdit::textTyped, this, [this](const QString &text) {
        emit editRequested([gbk = toGbk(text)](AnimationFileHeader &h) { h.setEndWell(gbk); });
    });
}

void PipeAttributesPanel::load(const AnimationFileHeader &header)
{
    m_place->showText(fromGbk(header.place()));
    m_startWell->showText(fromGbk(header.startWell()));
    m_endWell->showText(fromGbk(header.endWell()));
}

void PipeAttributesPanel::clear()
{
    for (BoundedLineEdit *e : {m_place, m_startWell, m_endWell})
        e->showText({});
}

void PipeAttributesPanel::setReadOnly(bool readOnly)
{
    for (BoundedLineEdit *e : {m_place, m_startWell, m_endWell})
        e->setReadOnly(readOnly);
}

} // namespace dorvane
