#include "ui/display/FramePropertyPanel.h"

#include "core/app/TextIds.h"
#include "core/base/MessageSink.h"
#include "core/display/PictureGeometry.h"
#include "ui/widgets/BoundedLineEdit.h"
#include "ui/widgets/BoundedTextEdit.h"
#include "ui/widgets/ToolIcons.h"
#include "ui/widgets/UiText.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace dorvane {

namespace {

// Typed characters as the fields allow, and the bytes the header stores of
// each (its field less the terminating zero).
constexpr TextLimit PipeNameLimit{26, 31};
constexpr TextLimit TitleLimit{27, 31};
constexpr TextLimit NotesLimit{200, 199};
constexpr int MaximumErrorRate = 50;

QLineEdit *readOnlyEdit(const char *name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    return edit;
}

QCheckBox *checkBox(const char *name, int textId, QWidget *parent)
{
    auto *box = new QCheckBox(uiText(textId), parent);
    box->setObjectName(name);
    return box;
}

// A number that can be typed within the range of the slider beside it; it
// takes the value on Enter or when the focus leaves, not at every key.
QSpinBox *numberBox(const char *name, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setKeyboardTracking(false);
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

uint8_t flag(bool on)
{
    return on ? 1 : 0;
}

} // namespace

FramePropertyPanel::FramePropertyPanel(MessageSink &messages, QWidget *parent)
    : QWidget(parent), m_messages(messages), m_pipeName(new BoundedLineEdit(PipeNameLimit, this)),
      m_title(new BoundedLineEdit(TitleLimit, this)), m_cable(readOnlyEdit("cableEdit", this)),
      m_tilt(readOnlyEdit("tiltEdit", this)), m_roll(readOnlyEdit("rollEdit", this)),
      m_detectRadius(readOnlyEdit("detectRadiusEdit", this)),
      m_pipeRadiusValue(numberBox("pipeRadiusValue", this)),
      m_pipeRadius(slider("pipeRadiusSlider", this)),
      m_errorRateValue(numberBox("errorRateValue", this)),
      m_errorRate(slider("errorRateSlider", this)), m_notes(new BoundedTextEdit(NotesLimit, this)),
      m_exclude(checkBox("excludeBox", text::ExcludeFromSediment, this)),
      m_defect(checkBox("defectBox", text::DefectFrameFlag, this)),
      m_report(checkBox("reportBox", text::ReportShotFlag, this)),
      m_circle(checkBox("circleBox", text::CircleToolLabel, this)),
      m_ruler(checkBox("rulerBox", text::RulerLabel, this)),
      m_rulerLength(readOnlyEdit("rulerLengthEdit", this)),
      m_note(new QLabel(uiText(text::ToolNote), this))
{
    setObjectName("framePropertyPanel");
    m_pipeName->setObjectName("pipeNameEdit");
    m_pipeName->hide(); // kept in the header, not offered for editing
    m_title->setObjectName("titleEdit");
    m_notes->setObjectName("notesEdit");
    m_notes->setFixedHeight(80);
    m_note->setObjectName("toolNote");
    m_note->setWordWrap(true);
    m_errorRate->setRange(1, MaximumErrorRate);
    m_errorRateValue->setRange(1, MaximumErrorRate);

    m_applyPipeRadius = button("applyPipeRadiusButton", text::ApplyToAllFrames);
    m_applyErrorRate = button("applyErrorRateButton", text::ApplyToAllFrames);
    m_applyReport = button("applyReportButton", text::ApplyToAllFrames);
    m_applyCircleBefore = button("applyCircleBeforeButton", text::ApplyToPreviousFrames);
    m_applyCircleAfter = button("applyCircleAfterButton", text::ApplyToFollowingFrames);
    m_delete = button("deleteFrameButton", text::DeleteFrame);
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
    add(text::TitleLabel, m_title);
    add(text::DistanceLabel, m_cable);
    add(text::TiltLabel, m_tilt);
    add(text::RollLabel, m_roll);
    add(text::DetectRadiusLabel, m_detectRadius);
    add(text::PipeRadiusLabel, m_pipeRadiusValue, m_applyPipeRadius);
    grid->addWidget(m_pipeRadius, row++, 0, 1, 2);
    add(text::ErrorRateLabel, m_errorRateValue, m_applyErrorRate);
    grid->addWidget(m_errorRate, row++, 0, 1, 2);
    add(text::NotesLabel, m_notes);

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

    // Each control edits its own field and nothing else.
    connect(m_pipeName, &BoundedLineEdit::textTyped, this, [this](const QString &text) {
        request([gbk = toGbk(text)](FrameHeader &h) { h.setPipeName(gbk); });
    });
    connect(m_title, &BoundedLineEdit::textTyped, this, [this](const QString &text) {
        request([gbk = toGbk(text)](FrameHeader &h) { h.setTitle(gbk); });
    });
    connect(m_notes, &BoundedTextEdit::textTyped, this, [this](const QString &stored) {
        request([gbk = toGbk(stored)](FrameHeader &h) { h.setNotes(gbk); });
    });
    connect(m_exclude, &QCheckBox::clicked, this,
            [this](bool on) { request([on](FrameHeader &h) { h.excludeSediment = flag(on); }); });
    connect(m_defect, &QCheckBox::clicked, this,
            [this](bool on) { request([on](FrameHeader &h) { h.defectFrame = flag(on); }); });
    connect(m_report, &QCheckBox::clicked, this,
            [this](bool on) { request([on](FrameHeader &h) { h.reportShot = flag(on); }); });
    connect(m_circle, &QCheckBox::clicked, this, [this](bool on) {
        updateToolButtons();
        request([on](FrameHeader &h) { h.circleOn = flag(on); });
    });
    connect(m_ruler, &QCheckBox::clicked, this, [this](bool on) {
        updateToolButtons();
        request([on](FrameHeader &h) { h.rulerOn = flag(on); });
    });
    // A typed number moves the slider, which makes the edit.
    connect(m_pipeRadiusValue, &QSpinBox::valueChanged, m_pipeRadius, &QSlider::setValue);
    connect(m_errorRateValue, &QSpinBox::valueChanged, m_errorRate, &QSlider::setValue);
    connect(m_pipeRadius, &QSlider::valueChanged, this, [this](int value) {
        m_pipeRadiusValue->setValue(value);
        request([value](FrameHeader &h) { h.pipeRadius = static_cast<uint16_t>(value); });
    });
    connect(m_errorRate, &QSlider::valueChanged, this, [this](int value) {
        m_errorRateValue->setValue(value);
        request([value](FrameHeader &h) { h.errorRate = static_cast<uint16_t>(value); });
    });
    connect(m_applyPipeRadius, &QToolButton::clicked, this,
            [this] { apply(text::ConfirmApplyPipeRadius, BulkEditKind::PipeRadius); });
    connect(m_applyErrorRate, &QToolButton::clicked, this,
            [this] { apply(text::ConfirmApplyErrorRate, BulkEditKind::ErrorRate); });
    connect(m_applyReport, &QToolButton::clicked, this,
            [this] { apply(text::ConfirmApplyAttribute, BulkEditKind::ReportShot); });
    connect(m_applyCircleBefore, &QToolButton::clicked, this,
            [this] { apply(text::ConfirmApplyCircleBefore, BulkEditKind::CircleUpTo); });
    connect(m_applyCircleAfter, &QToolButton::clicked, this,
            [this] { apply(text::ConfirmApplyCircleAfter, BulkEditKind::CircleFrom); });
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

void FramePropertyPanel::loadFrame(int index, const FrameHeader &header)
{
    m_index = index;
    m_header = header;
    m_hasFrame = true;
    m_loading = true;
    const QSignalBlocker blockRadius(m_pipeRadius);
    const QSignalBlocker blockRate(m_errorRate);
    const QSignalBlocker blockRadiusValue(m_pipeRadiusValue);
    const QSignalBlocker blockRateValue(m_errorRateValue);
    m_pipeName->showText(fromGbk(header.pipeNameText()));
    m_title->showText(fromGbk(header.titleText()));
    m_notes->showText(fromGbk(header.notesText()));
    m_cable->setText(number(header.cableLength));
    m_tilt->setText(number(header.tilt));
    m_roll->setText(number(header.roll));
    m_detectRadius->setText(QString::number(header.detectRadius));
    m_pipeRadius->setRange(MinimumPipeRadiusMm, header.detectRadius);
    m_pipeRadius->setValue(header.pipeRadius);
    m_pipeRadiusValue->setRange(MinimumPipeRadiusMm, header.detectRadius);
    m_pipeRadiusValue->setValue(header.pipeRadius);
    m_errorRate->setValue(header.errorRate);
    m_errorRateValue->setValue(header.errorRate);
    m_exclude->setChecked(header.excludeSediment != 0);
    m_defect->setChecked(header.defectFrame != 0);
    m_report->setChecked(header.reportShot != 0);
    m_circle->setChecked(header.circleOn != 0);
    m_ruler->setChecked(header.rulerOn != 0);
    m_rulerLength->setText(QString::number(header.rulerLengthMm()));
    updateToolButtons();
    m_loading = false;
}

void FramePropertyPanel::clear()
{
    m_hasFrame = false;
    m_header = FrameHeader{};
    m_index = -1;
    m_loading = true;
    const QSignalBlocker blockRadius(m_pipeRadius);
    const QSignalBlocker blockRate(m_errorRate);
    const QSignalBlocker blockRadiusValue(m_pipeRadiusValue);
    const QSignalBlocker blockRateValue(m_errorRateValue);
    m_pipeName->showText({});
    m_title->showText({});
    m_notes->showText({});
    for (QLineEdit *edit : {m_cable, m_tilt, m_roll, m_detectRadius})
        edit->setText(QStringLiteral("0"));
    m_pipeRadius->setRange(0, 0);
    m_pipeRadiusValue->setRange(0, 0);
    m_errorRate->setValue(1);
    m_errorRateValue->setValue(1);
    for (QCheckBox *box : {m_exclude, m_defect, m_report, m_circle, m_ruler})
        box->setChecked(false);
    updateToolButtons();
    m_loading = false;
}

void FramePropertyPanel::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    for (QLineEdit *edit :
         {static_cast<QLineEdit *>(m_pipeName), static_cast<QLineEdit *>(m_title)})
        edit->setReadOnly(readOnly);
    m_notes->setReadOnly(readOnly);
    for (QWidget *w : std::initializer_list<QWidget *>{
             m_exclude, m_defect, m_report, m_circle, m_ruler, m_applyPipeRadius, m_applyErrorRate,
             m_applyReport, m_applyCircleBefore, m_applyCircleAfter, m_delete, m_pipeRadius,
             m_errorRate, m_pipeRadiusValue, m_errorRateValue})
        w->setEnabled(!readOnly);
    m_note->setVisible(!readOnly);
}

void FramePropertyPanel::request(const FrameEdit &edit)
{
    if (m_loading || !m_hasFrame)
        return;
    emit editRequested(edit);
}

void FramePropertyPanel::updateToolButtons()
{
    m_applyCircleBefore->setVisible(m_circle->isChecked());
    m_applyCircleAfter->setVisible(m_circle->isChecked());
    m_rulerLength->setVisible(m_ruler->isChecked());
}

void FramePropertyPanel::apply(int questionId, BulkEditKind kind)
{
    if (!m_hasFrame ||
        m_messages.ask(questionId, MessageSink::Buttons::OkCancel) != MessageSink::Answer::Ok)
        return;
    BulkEdit edit;
    edit.kind = kind;
    switch (kind) {
    case BulkEditKind::ReportShot:
        edit.value = m_header.reportShot;
        break;
    case BulkEditKind::PipeRadius:
        edit.value = m_header.pipeRadius;
        break;
    case BulkEditKind::ErrorRate:
        edit.value = m_header.errorRate;
        break;
    case BulkEditKind::CircleUpTo:
    case BulkEditKind::CircleFrom:
        edit.value = m_index;
        break;
    }
    edit.circle = {m_header.circleX, m_header.circleY};
    emit applyRequested(edit);
}

} // namespace dorvane
