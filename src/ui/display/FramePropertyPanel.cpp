#include "ui/display/FramePropertyPanel.h"

#include "core/base/MessageSink.h"
#include "core/data/FrameHeader.h"
#include "ui/widgets/ToolIcons.h"
#include "ui/widgets/UiText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace dorvane {

namespace {

constexpr int PipeNameChars = 26;
constexpr int TitleChars = 27;
constexpr int NotesChars = 200;
constexpr int MinimumPipeRadius = 50;
constexpr int MaximumErrorRate = 50;

QLineEdit *lineEdit(const char *name, bool readOnly, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(readOnly);
    return edit;
}

QCheckBox *checkBox(const char *name, int textId, QWidget *parent)
{
    auto *box = new QCheckBox(uiText(textId), parent);
    box->setObjectName(name);
    return box;
}

QSlider *slider(const char *name, QWidget *parent)
{
    auto *s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(name);
    return s;
}

QString number(float value)
{
    return QString::number(static_cast<double>(value), 'g', 6);
}

// The header keeps line breaks as CR LF; the editor shows LF.
QString notesForEditor(const QString &notes)
{
    QString text = notes;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString notesForHeader(const QString &notes)
{
    QString text = notes;
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

void setTextIfChanged(QLineEdit *edit, const QString &text)
{
    // Rewriting the same text would move the cursor while the operator types.
    if (edit->text() != text)
        edit->setText(text);
}

} // namespace

FramePropertyPanel::FramePropertyPanel(MessageSink &messages, QWidget *parent)
    : QWidget(parent), m_messages(messages), m_pipeName(lineEdit("pipeNameEdit", false, this)),
      m_title(lineEdit("titleEdit", false, this)), m_cable(lineEdit("cableEdit", true, this)),
      m_tilt(lineEdit("tiltEdit", true, this)), m_roll(lineEdit("rollEdit", true, this)),
      m_detectRadius(lineEdit("detectRadiusEdit", true, this)),
      m_pipeRadiusValue(lineEdit("pipeRadiusValue", true, this)),
      m_pipeRadius(slider("pipeRadiusSlider", this)),
      m_errorRateValue(lineEdit("errorRateValue", true, this)),
      m_errorRate(slider("errorRateSlider", this)), m_notes(new QPlainTextEdit(this)),
      m_exclude(checkBox("excludeBox", 125, this)), m_defect(checkBox("defectBox", 126, this)),
      m_report(checkBox("reportBox", 127, this)), m_circle(checkBox("circleBox", 120, this)),
      m_ruler(checkBox("rulerBox", 121, this)),
      m_rulerLength(lineEdit("rulerLengthEdit", true, this)), m_note(new QLabel(uiText(128), this))
{
    setObjectName("framePropertyPanel");
    m_pipeName->setMaxLength(PipeNameChars);
    m_pipeName->hide(); // kept in the header, not offered for editing
    m_title->setMaxLength(TitleChars);
    m_notes->setObjectName("notesEdit");
    m_notes->setFixedHeight(80);
    m_note->setObjectName("toolNote");
    m_note->setWordWrap(true);
    m_errorRate->setRange(1, MaximumErrorRate);

    m_applyPipeRadius = button("applyPipeRadiusButton", 198);
    m_applyErrorRate = button("applyErrorRateButton", 198);
    m_applyReport = button("applyReportButton", 198);
    m_applyCircleBefore = button("applyCircleBeforeButton", 195);
    m_applyCircleAfter = button("applyCircleAfterButton", 196);
    m_delete = button("deleteFrameButton", 357);
    m_applyCircleBefore->setIcon(toolIcon(ToolIcon::ApplyBefore));
    m_applyCircleAfter->setIcon(toolIcon(ToolIcon::ApplyAfter));
    m_delete->setIcon(toolIcon(ToolIcon::Delete));

    auto *grid = new QGridLayout;
    int row = 0;
    const auto add = [&](int labelId, QWidget *field, QWidget *extra = nullptr) {
        grid->addWidget(new QLabel(uiText(labelId), this), row, 0);
        grid->addWidget(field, row, 1);
        if (extra)
            grid->addWidget(extra, row, 2);
        ++row;
    };
    add(112, m_title);
    add(354, m_cable);
    add(114, m_tilt);
    add(115, m_roll);
    add(116, m_detectRadius);
    add(117, m_pipeRadiusValue, m_applyPipeRadius);
    grid->addWidget(m_pipeRadius, row++, 0, 1, 2);
    add(118, m_errorRateValue, m_applyErrorRate);
    grid->addWidget(m_errorRate, row++, 0, 1, 2);
    add(119, m_notes);

    auto *circleRow = new QHBoxLayout;
    circleRow->addWidget(m_circle);
    circleRow->addWidget(m_applyCircleBefore);
    circleRow->addWidget(m_applyCircleAfter);
    circleRow->addStretch();
    auto *rulerRow = new QHBoxLayout;
    rulerRow->addWidget(m_ruler);
    rulerRow->addWidget(m_rulerLength);
    auto *reportRow = new QHBoxLayout;
    reportRow->addWidget(m_report);
    reportRow->addWidget(m_applyReport);
    reportRow->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_exclude);
    layout->addWidget(m_defect);
    layout->addLayout(reportRow);
    layout->addLayout(circleRow);
    layout->addLayout(rulerRow);
    layout->addWidget(m_note);
    layout->addWidget(m_delete, 0, Qt::AlignLeft);
    layout->addStretch();

    for (QLineEdit *edit : {m_pipeName, m_title})
        connect(edit, &QLineEdit::textEdited, this, &FramePropertyPanel::edited);
    connect(m_notes, &QPlainTextEdit::textChanged, this, [this] {
        if (m_loading)
            return;
        // Typing stops at the notes' limit.
        const QString text = m_notes->toPlainText();
        if (text.size() > NotesChars) {
            const QSignalBlocker block(m_notes);
            m_notes->setPlainText(text.left(NotesChars));
            m_notes->moveCursor(QTextCursor::End);
        }
        edited();
    });
    for (QCheckBox *box : {m_exclude, m_defect, m_report})
        connect(box, &QCheckBox::clicked, this, &FramePropertyPanel::edited);
    connect(m_circle, &QCheckBox::clicked, this, &FramePropertyPanel::circleToggled);
    connect(m_ruler, &QCheckBox::clicked, this, &FramePropertyPanel::rulerToggled);
    connect(m_pipeRadius, &QSlider::valueChanged, this, &FramePropertyPanel::pipeRadiusMoved);
    connect(m_errorRate, &QSlider::valueChanged, this, &FramePropertyPanel::errorRateMoved);
    connect(m_applyPipeRadius, &QToolButton::clicked, this, [this] { apply(199, 1); });
    connect(m_applyErrorRate, &QToolButton::clicked, this, [this] { apply(200, 2); });
    connect(m_applyReport, &QToolButton::clicked, this, [this] { apply(205, 0); });
    connect(m_applyCircleBefore, &QToolButton::clicked, this, [this] { apply(203, 301); });
    connect(m_applyCircleAfter, &QToolButton::clicked, this, [this] { apply(204, 302); });
    connect(m_delete, &QToolButton::clicked, this, &FramePropertyPanel::deleteRequested);
    clear();
}

QToolButton *FramePropertyPanel::button(const char *name, int tipId)
{
    auto *b = new QToolButton(this);
    b->setObjectName(name);
    b->setIcon(toolIcon(ToolIcon::ApplyAll));
    b->setIconSize(QSize(20, 20));
    b->setToolTip(uiText(tipId));
    return b;
}

void FramePropertyPanel::loadFrame(int index, FrameHeader *header)
{
    m_index = index;
    m_header = header;
    if (!header) {
        clear();
        return;
    }
    m_loading = true;
    const QSignalBlocker blockRadius(m_pipeRadius);
    const QSignalBlocker blockRate(m_errorRate);
    setTextIfChanged(m_pipeName, fromGbk(header->pipeNameText()));
    setTextIfChanged(m_title, fromGbk(header->titleText()));
    const QString notes = notesForEditor(fromGbk(header->notesText()));
    if (m_notes->toPlainText() != notes)
        m_notes->setPlainText(notes);
    m_cable->setText(number(header->cableLength));
    m_tilt->setText(number(header->tilt));
    m_roll->setText(number(header->roll));
    m_detectRadius->setText(QString::number(header->detectRadius));
    m_pipeRadius->setRange(MinimumPipeRadius, header->detectRadius);
    m_pipeRadius->setValue(header->pipeRadius);
    m_pipeRadiusValue->setText(QString::number(header->pipeRadius));
    m_errorRate->setValue(header->errorRate);
    m_errorRateValue->setText(QString::number(header->errorRate));
    m_exclude->setChecked(header->excludeSediment != 0);
    m_defect->setChecked(header->defectFrame != 0);
    m_report->setChecked(header->reportShot != 0);
    m_circle->setChecked(header->circleOn != 0);
    m_ruler->setChecked(header->rulerOn != 0);
    m_rulerLength->setText(QString::number(header->rulerLengthMm()));
    updateToolButtons();
    m_loading = false;
}

void FramePropertyPanel::storeFrame()
{
    if (!m_header)
        return;
    // Cable length, attitude and detection radius only show: writing their
    // rounded text back would change the stored values.
    m_header->setPipeName(toGbk(m_pipeName->text()));
    m_header->setTitle(toGbk(m_title->text()));
    m_header->setNotes(toGbk(notesForHeader(m_notes->toPlainText())));
    m_header->pipeRadius = static_cast<uint16_t>(m_pipeRadius->value());
    m_header->errorRate = static_cast<uint16_t>(m_errorRate->value());
    m_header->excludeSediment = m_exclude->isChecked() ? 1 : 0;
    m_header->defectFrame = m_defect->isChecked() ? 1 : 0;
    m_header->reportShot = m_report->isChecked() ? 1 : 0;
    m_header->circleOn = m_circle->isChecked() ? 1 : 0;
    m_header->rulerOn = m_ruler->isChecked() ? 1 : 0;
}

void FramePropertyPanel::clear()
{
    m_header = nullptr;
    m_index = -1;
    m_loading = true;
    const QSignalBlocker blockRadius(m_pipeRadius);
    const QSignalBlocker blockRate(m_errorRate);
    m_pipeName->clear();
    m_title->clear();
    for (QLineEdit *edit :
         {m_cable, m_tilt, m_roll, m_detectRadius, m_pipeRadiusValue, m_errorRateValue})
        edit->setText(QStringLiteral("0"));
    m_pipeRadius->setRange(0, 0);
    m_errorRate->setValue(1);
    updateToolButtons();
    m_loading = false;
}

void FramePropertyPanel::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    for (QLineEdit *edit : {m_pipeName, m_title})
        edit->setReadOnly(readOnly);
    m_notes->setReadOnly(readOnly);
    for (QWidget *w : std::initializer_list<QWidget *>{
             m_exclude, m_defect, m_report, m_circle, m_ruler, m_applyPipeRadius, m_applyErrorRate,
             m_applyReport, m_applyCircleBefore, m_applyCircleAfter, m_delete, m_pipeRadius,
             m_errorRate})
        w->setEnabled(!readOnly);
    m_note->setVisible(!readOnly);
}

void FramePropertyPanel::edited()
{
    if (m_loading || !m_header)
        return;
    storeFrame();
    emit frameEdited();
}

void FramePropertyPanel::pipeRadiusMoved(int value)
{
    m_pipeRadiusValue->setText(QString::number(value));
    edited();
}

void FramePropertyPanel::errorRateMoved(int value)
{
    m_errorRateValue->setText(QString::number(value));
    edited();
}

void FramePropertyPanel::circleToggled()
{
    updateToolButtons();
    edited();
}

void FramePropertyPanel::rulerToggled()
{
    updateToolButtons();
    edited();
}

void FramePropertyPanel::updateToolButtons()
{
    m_applyCircleBefore->setVisible(m_circle->isChecked());
    m_applyCircleAfter->setVisible(m_circle->isChecked());
    m_rulerLength->setVisible(m_ruler->isChecked());
}

void FramePropertyPanel::apply(int questionId, int kind)
{
    if (!m_header ||
        m_messages.ask(questionId, MessageSink::Buttons::OkCancel) != MessageSink::Answer::Ok)
        return;
    int value = 0;
    switch (kind) {
    case 0:
        value = m_header->reportShot;
        break;
    case 1:
        value = m_header->pipeRadius;
        break;
    case 2:
        value = m_header->errorRate;
        break;
    default:
        value = m_index;
        break;
    }
    emit applyRequested(kind, value, QPoint(m_header->circleX, m_header->circleY));
}

} // namespace dorvane
