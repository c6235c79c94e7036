#include "ui/display/GraphicsPanel.h"

#include "core/app/TextIds.h"
#include "ui/display/FrameView.h"
#include "ui/widgets/ToolIcons.h"
#include "ui/widgets/UiText.h"

#include <QGridLayout>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace dorvane {

namespace {

constexpr int PreviewSize = 240;
constexpr int TickInterval = 10;

QSlider *levelSlider(const char *name, int minimum, int maximum, QWidget *parent)
{
    auto *slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(name);
    slider->setRange(minimum, maximum);
    slider->setTickInterval(TickInterval);
    slider->setTickPosition(QSlider::TicksBelow);
    return slider;
}

QLabel *valueLabel(const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setMinimumWidth(30);
    return label;
}

QToolButton *pictureButton(const char *name, int textId, ToolIcon icon, bool checkable,
                           QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(uiText(textId));
    button->setIcon(toolIcon(icon));
    button->setIconSize(QSize(24, 24));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setCheckable(checkable);
    button->setMinimumWidth(70);
    return button;
}

} // namespace

GraphicsPanel::GraphicsPanel(FrameView &view, QWidget *parent)
    : QWidget(parent), m_view(view), m_preview(new FrameView(this, PreviewSize)),
      m_gridButton(pictureButton("gridButton", text::ShowScale, ToolIcon::Grid, true, this)),
      m_greyButton(pictureButton("greyButton", text::GreyOrColour, ToolIcon::Grey, true, this)),
      m_restoreButton(
          pictureButton("restoreButton", text::RestoreDefaults, ToolIcon::Restore, false, this)),
      m_low(levelSlider("minLevelSlider", 0, 254, this)),
      m_high(levelSlider("maxLevelSlider", 1, 255, this)),
      m_colours(levelSlider("colourCountSlider", 16, 256, this)),
      m_lowValue(valueLabel("minLevelValue", this)), m_highValue(valueLabel("maxLevelValue", this)),
      m_coloursValue(valueLabel("colourCountValue", this))
{
    setObjectName("graphicsPanel");
    m_preview->setObjectName("palettePreview");
    m_preview->setToolsLocked(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_gridButton);
    buttons->addWidget(m_greyButton);
    buttons->addWidget(m_restoreButton);
    buttons->addStretch();
    auto *sliders = new QGridLayout;
    // The lower threshold is the minimum level and the upper the maximum.
    const struct
    {
        int text;
        QSlider *slider;
        QLabel *value;
    } rows[] = {{text::MinimumLevelLabel, m_low, m_lowValue},
                {text::MaximumLevelLabel, m_high, m_highValue},
                {text::ColourCountLabel, m_colours, m_coloursValue}};
    for (int row = 0; row < 3; ++row) {
        sliders->addWidget(new QLabel(uiText(rows[row].text), this), row, 0);
        sliders->addWidget(rows[row].slider, row, 1);
        sliders->addWidget(rows[row].value, row, 2);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_preview, 0, Qt::AlignHCenter);
    layout->addLayout(sliders);
    layout->addStretch();

    for (QSlider *slider : {m_low, m_high, m_colours})
        connect(slider, &QSlider::valueChanged, this, [this, slider] { sliderMoved(slider); });
    connect(m_greyButton, &QToolButton::clicked, this, &GraphicsPanel::greyToggled);
    connect(m_gridButton, &QToolButton::clicked, this, &GraphicsPanel::gridToggled);
    connect(m_restoreButton, &QToolButton::clicked, this, &GraphicsPanel::restoreDefaults);

    applyPalette();
    m_preview->image().renderTestPattern();
    m_preview->update();
    restoreDefaults();
}

int GraphicsPanel::minLevel() const
{
    return m_low->value();
}

int GraphicsPanel::maxLevel() const
{
    return m_high->value();
}

int GraphicsPanel::colourCount() const
{
    return m_colours->value();
}

void GraphicsPanel::applyPalette()
{
    for (FrameView *view : {m_preview, &m_view}) {
        view->image().setPalette(minLevel(), maxLevel(), colourCount(), m_grey);
        view->update();
    }
}

void GraphicsPanel::restoreDefaults()
{
    for (QSlider *slider : {m_low, m_high, m_colours})
        slider->blockSignals(true);
    m_low->setValue(0);
    m_high->setValue(255);
    m_colours->setValue(256);
    for (QSlider *slider : {m_low, m_high, m_colours})
        slider->blockSignals(false);
    showValues();
    pushFlags();
    applyPalette();
}

void GraphicsPanel::resetForFrame()
{
    m_view.resetView();
}

void GraphicsPanel::showPictureState()
{
    // The grid stays on from frame to frame, and so does a grey palette.
    m_grid = m_view.hasFrame() && m_view.overlay().showGrid;
    pushFlags();
}

void GraphicsPanel::sliderMoved(QSlider *moved)
{
    // The two thresholds never cross: the slider being moved pushes the other.
    QSlider *leader = m_low->hasFocus() ? m_low : m_high->hasFocus() ? m_high : moved;
    const int lo = m_low->value(), hi = m_high->value();
    if (lo >= hi) {
        const QSignalBlocker blockLow(m_low), blockHigh(m_high);
        if (leader == m_low)
            m_high->setValue(lo + 1);
        else if (leader == m_high)
            m_low->setValue(hi - 1);
    }
    showValues();
    pushFlags();
    applyPalette();
}

void GraphicsPanel::greyToggled()
{
    m_grey = m_greyButton->isChecked();
    applyPalette();
}

void GraphicsPanel::gridToggled()
{
    m_grid = m_view.overlay().toggleGrid();
    m_gridButton->setChecked(m_grid);
    m_view.update();
}

void GraphicsPanel::showValues()
{
    m_lowValue->setText(QString::number(m_low->value()));
    m_highValue->setText(QString::number(m_high->value()));
    m_coloursValue->setText(QString::number(m_colours->value()));
}

void GraphicsPanel::pushFlags()
{
    m_greyButton->setChecked(m_grey);
    m_gridButton->setChecked(m_grid);
}

} // namespace dorvane
