#include "render/AssessmentChartPicture.h"

#include "core/app/BuiltinTexts.h"
#include "core/app/ProgramPaths.h"
#include "core/app/TextIds.h"
#include "core/app/TextService.h"
#include "core/display/SedimentChartScale.h"
#include "render/AssessmentChartLayout.h"
#include "render/ChartFont.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QVector>
#include <algorithm>
#include <array>
#include <cmath>

namespace dorvane {

namespace {

constexpr int TickLength = 4;
constexpr int LabelGap = 3;
constexpr int SwatchLength = 18;
constexpr int LegendGap = 14;
constexpr int IsolatedMark = 3;
constexpr int LabelRoom = 200; // beyond the picture is simply cut

enum Series
{
    CapacityLoss,
    DepositShare,
    Deformation,
    SeriesCount
};

const QColor SeriesColours[SeriesCount] = {QColor(0x1f, 0x5f, 0xc0), QColor(0x9a, 0x52, 0x00),
                                           QColor(0x80, 0x20, 0xa0)};
const int SeriesNames[SeriesCount] = {text::CapacityLossSeries, text::DepositShareSeries,
                                      text::DeformationSeries};
// Grades 1 to 4, lighter for the band and darker for its bound line.
const QColor BandColours[GradeCount] = {QColor(255, 247, 214), QColor(255, 232, 190),
                                        QColor(255, 212, 170), QColor(255, 190, 180)};
const QColor BoundColours[GradeCount] = {QColor(190, 160, 40), QColor(210, 140, 50),
                                         QColor(210, 100, 40), QColor(200, 50, 40)};
const QColor LaneFrameColour = QColor(0x80, 0x80, 0x80);
const QColor CurrentFrameColour = QColor(0xd0, 0x00, 0x00);

QString chartText(int id, bool english)
{
    if (!english) {
        const std::string_view text = builtinText(id);
        return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    }
    // The English file of the program folder, whatever language the
    // program shows itself.
    static TextService englishTexts(programFolder(), 1);
    return QString::fromStdString(englishTexts.text(id));
}

// What a pixel column holds of one series: no frame at all, frames none of
// which has the value (the curve breaks there), or the range of the values.
struct Column
{
    enum State : uint8_t
    {
        Empty,
        Valued,
        Blank
    };
    State state = Empty;
    float low = 0;
    float high = 0;

    void add(float value)
    {
        if (state != Valued) {
            state = Valued;
            low = high = value;
            return;
        }
        low = std::min(low, value);
        high = std::max(high, value);
    }
    float middle() const { return 0.5f * (low + high); }
};

using Columns = std::vector<Column>;

std::optional<double> seriesValue(const FrameCondition &frame, int series)
{
    if (!frame.assessed)
        return std::nullopt;
    switch (series) {
    case CapacityLoss:
        return frame.capacityLossPct;
    case DepositShare:
        return ConditionAssessment::gradedValue(frame, DefectKind::Deposit);
    default:
        return ConditionAssessment::gradedValue(frame, DefectKind::Deformation);
    }
}

// One pass over the frames, every series at once.
std::array<Columns, SeriesCount> binFrames(const ConditionAssessment &assessment,
                                           const std::vector<float> &cableLengths,
                                           const AssessmentChartLayout &layout)
{
    const int left = layout.plot().left();
    std::array<Columns, SeriesCount> columns;
    for (Columns &c : columns)
        c.resize(static_cast<size_t>(layout.plot().width()));
    if (!layout.hasRange())
        return columns;
    const size_t n = std::min(assessment.frames.size(), cableLengths.size());
    for (size_t i = 0; i < n; ++i) {
        if (!std::isfinite(cableLengths[i]))
            continue;
        const auto column = static_cast<size_t>(layout.xOf(cableLengths[i]) - left);
        for (int s = 0; s < SeriesCount; ++s) {
            Column &c = columns[static_cast<size_t>(s)][column];
            if (const auto value = seriesValue(assessment.frames[i], s))
                c.add(static_cast<float>(*value));
            else if (c.state == Column::Empty)
                c.state = Column::Blank;
        }
    }
    return columns;
}

// A lane's per-cent scale: from 0 up to a multiple of 10 with room above
// the highest bound for the last grade's band, and for every value.
struct LaneScale
{
    QRect rect;
    double top = 100;

    int y(double percent) const
    {
        const double t = std::clamp(percent / top, 0.0, 1.0);
        return rect.bottom() - static_cast<int>(std::lround(t * (rect.height() - 1)));
    }
};

double roundUpToTen(double value)
{
    return std::max(10.0, 10.0 * std::ceil(value / 10.0 - 1e-9));
}

LaneScale laneScale(const QRect &rect, const DefectGrading &grading,
                    std::initializer_list<const Columns *> series)
{
    double highest = 0;
    for (const Columns *columns : series)
        for (const Column &c : *columns)
            if (c.state == Column::Valued)
                highest = std::max(highest, static_cast<double>(c.high));
    const double bounds = roundUpToTen(grading.bounds[GradeCount - 1] * 1.2);
    return {rect, std::max(bounds, roundUpToTen(std::min(highest, 100.0)))};
}

QString percentText(double value)
{
    return QString::fromStdString(tickText(value));
}

void drawGrades(QPainter &painter, const LaneScale &lane, const DefectGrading &grading,
                bool english)
{
    painter.fillRect(lane.rect, Qt::white);
    const QFontMetrics metrics(chartFont());
    int lastLabel = lane.rect.bottom() + metrics.height();
    for (int g = 0; g < GradeCount; ++g) {
        const double from = grading.bounds[static_cast<size_t>(g)];
        const double to =
            g + 1 < GradeCount ? grading.bounds[static_cast<size_t>(g + 1)] : lane.top;
        if (from >= lane.top)
            break;
        const int top = lane.y(std::min(to, lane.top));
        const int bottom = lane.y(from);
        painter.fillRect(QRect(QPoint(lane.rect.left(), top), QPoint(lane.rect.right(), bottom)),
                         BandColours[g]);
        painter.setPen(QPen(BoundColours[g], 1, Qt::DashLine));
        painter.drawLine(lane.rect.left(), bottom, lane.rect.right(), bottom);
        // The grade's name beside the middle of its band, left out where it
        // would run into the one below.
        const int middle = (top + bottom) / 2;
        if (lastLabel - middle < metrics.height())
            continue;
        lastLabel = middle;
        painter.setPen(BoundColours[g]);
        painter.drawText(QRect(lane.rect.right() + 4, middle - metrics.height() / 2, LabelRoom,
                               metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         chartText(text::GradeOfDefect, english).arg(g + 1));
    }
}

void drawPercentAxis(QPainter &painter, const LaneScale &lane, const DefectGrading &grading)
{
    const QFontMetrics metrics(chartFont());
    std::vector<double> marks{0};
    for (const double bound : grading.bounds)
        if (bound > 0 && bound < lane.top)
            marks.push_back(bound);
    marks.push_back(lane.top);
    painter.setPen(Qt::black);
    int lastLabel = lane.rect.bottom() + metrics.height();
    const int left = lane.rect.left();
    for (const double mark : marks) {
        const int y = lane.y(mark);
        painter.drawLine(left - TickLength, y, left - 1, y);
        if (lastLabel - y < metrics.height() - 2)
            continue;
        lastLabel = y;
        painter.drawText(
            QRect(0, y - metrics.height() / 2, left - TickLength - 2, metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, percentText(mark));
    }
}

void drawSeries(QPainter &painter, const Columns &columns, const LaneScale &lane, int left,
                const QColor &colour)
{
    QVector<QLine> lines;
    lines.reserve(static_cast<qsizetype>(columns.size() * 2));
    QVector<QRect> isolated;
    int previous = -1;
    int pending = -1; // a column not joined to the one before it
    bool broken = false;
    for (size_t c = 0; c < columns.size(); ++c) {
        const Column &column = columns[c];
        if (column.state == Column::Blank)
            broken = true;
        if (column.state != Column::Valued)
            continue;
        const int x = left + static_cast<int>(c);
        lines.append(QLine(x, lane.y(column.high), x, lane.y(column.low)));
        if (previous >= 0 && !broken) {
            // From the previous column's range to this one's, by their
            // nearest values.
            const Column &before = columns[static_cast<size_t>(previous)];
            const double from = std::clamp(column.middle(), before.low, before.high);
            const double to = std::clamp(before.middle(), column.low, column.high);
            lines.append(QLine(left + previous, lane.y(from), x, lane.y(to)));
            pending = -1;
        } else {
            if (pending >= 0)
                isolated.append(QRect(left + pending - 1,
                                      lane.y(columns[static_cast<size_t>(pending)].middle()) - 1,
                                      IsolatedMark, IsolatedMark));
            pending = static_cast<int>(c);
        }
        previous = static_cast<int>(c);
        broken = false;
    }
    if (pending >= 0)
        isolated.append(QRect(left + pending - 1,
                              lane.y(columns[static_cast<size_t>(pending)].middle()) - 1,
                              IsolatedMark, IsolatedMark));
    painter.setPen(colour);
    painter.drawLines(lines);
    for (const QRect &mark : isolated)
        painter.fillRect(mark, colour);
}

void drawLaneTitle(QPainter &painter, const QRect &lane, const DefectGrading &grading, bool english)
{
    const QString title = QString::fromStdString(grading.code) + ' ' +
                          QString::fromStdString(english ? grading.nameEn : grading.nameZh) +
                          QStringLiteral(" (%)");
    const QFontMetrics metrics(chartFont());
    const QRect box(lane.left() + 1, lane.top() + 1,
                    std::min(metrics.horizontalAdvance(title) + 6, lane.width() - 2),
                    metrics.height());
    painter.fillRect(box, QColor(255, 255, 255, 200));
    painter.setPen(Qt::black);
    painter.drawText(box.adjusted(3, 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title);
}

void drawLegend(QPainter &painter, const QRect &row, bool english)
{
    const QFontMetrics metrics(chartFont());
    int x = row.left();
    const int y = row.center().y();
    for (int s = 0; s < SeriesCount; ++s) {
        const QString name = chartText(SeriesNames[s], english);
        painter.setPen(QPen(SeriesColours[s], 2));
        painter.drawLine(x, y, x + SwatchLength, y);
        x += SwatchLength + 4;
        const int width = metrics.horizontalAdvance(name);
        painter.setPen(Qt::black);
        painter.drawText(QRect(x, row.top(), width + 1, row.height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, name);
        x += width + LegendGap;
    }
}

void drawLengthAxis(QPainter &painter, const AssessmentChartLayout &layout, QSize size,
                    bool english)
{
    const QFontMetrics metrics(chartFont());
    const QRect plot = layout.plot();
    const int bottom = plot.bottom();
    painter.setPen(Qt::black);
    const QString title = chartText(text::CableLengthAxis, english);
    const int titleTop = size.height() - metrics.height();
    painter.drawText(QRect(plot.left(), titleTop, plot.width(), metrics.height()),
                     Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, title);
    if (!layout.hasRange())
        return;
    const double step = layout.tickStep();
    const QPen grid(QColor(0xa0, 0xa0, 0xa0), 1, Qt::DotLine);
    int lastRight = plot.left() - 1000;
    for (double t = step * std::ceil(layout.xmin() / step - 1e-9); t <= layout.xmax() + 1e-9;
         t += step) {
        const int x = layout.xOf(t);
        painter.setPen(grid);
        painter.drawLine(x, layout.depositLane().top(), x, layout.depositLane().bottom());
        painter.drawLine(x, layout.deformationLane().top(), x, bottom);
        painter.setPen(Qt::black);
        painter.drawLine(x, bottom + 1, x, bottom + TickLength);
        // Near zero a step sum can land on -0.00000001.
        const QString label = QString::fromStdString(tickText(std::fabs(t) < step * 1e-6 ? 0 : t));
        const int width = metrics.horizontalAdvance(label);
        const int labelLeft = x - width / 2;
        if (labelLeft < lastRight + LabelGap)
            continue;
        lastRight = labelLeft + width;
        painter.drawText(QRect(labelLeft, bottom + TickLength + 1, width + 1, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, label);
    }
}

} // namespace

QImage drawAssessmentChart(const ConditionAssessment &assessment,
                           const std::vector<float> &cableLengths, const GradingTable &grades,
                           QSize size, int currentFrame, bool english)
{
    QImage picture(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    picture.fill(Qt::white);
    const AssessmentChartLayout layout(cableLengths, picture.size());
    const std::array<Columns, SeriesCount> columns = binFrames(assessment, cableLengths, layout);
    const DefectGrading &deposit = grades.of(DefectKind::Deposit);
    const DefectGrading &deformation = grades.of(DefectKind::Deformation);
    const LaneScale upper =
        laneScale(layout.depositLane(), deposit, {&columns[CapacityLoss], &columns[DepositShare]});
    const LaneScale lower =
        laneScale(layout.deformationLane(), deformation, {&columns[Deformation]});

    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(chartFont());
    drawGrades(painter, upper, deposit, english);
    drawGrades(painter, lower, deformation, english);
    drawLengthAxis(painter, layout, picture.size(), english);
    const int left = layout.plot().left();
    drawSeries(painter, columns[CapacityLoss], upper, left, SeriesColours[CapacityLoss]);
    drawSeries(painter, columns[DepositShare], upper, left, SeriesColours[DepositShare]);
    drawSeries(painter, columns[Deformation], lower, left, SeriesColours[Deformation]);

    if (currentFrame >= 0 && static_cast<size_t>(currentFrame) < cableLengths.size() &&
        layout.hasRange() && std::isfinite(cableLengths[static_cast<size_t>(currentFrame)])) {
        const int x = layout.xOf(cableLengths[static_cast<size_t>(currentFrame)]);
        painter.setPen(QPen(CurrentFrameColour, 1));
        painter.drawLine(x, layout.plot().top(), x, layout.plot().bottom());
    }

    painter.setPen(LaneFrameColour);
    painter.setBrush(Qt::NoBrush);
    for (const QRect &lane : {layout.depositLane(), layout.deformationLane()})
        painter.drawRect(lane.adjusted(0, 0, -1, -1));
    drawPercentAxis(painter, upper, deposit);
    drawPercentAxis(painter, lower, deformation);
    drawLaneTitle(painter, layout.depositLane(), deposit, english);
    drawLaneTitle(painter, layout.deformationLane(), deformation, english);
    drawLegend(painter, layout.legendRow(), english);
    return picture;
}

} // namespace dorvane
