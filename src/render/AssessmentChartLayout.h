#pragma once

#include <QRect>
#include <QSize>
#include <vector>

namespace dorvane {

// Where the assessment chart puts its two lanes in a picture of a given
// size, and the cable length range along x: the drawing and the window
// that maps a point of the picture back to a frame both go by it. The
// range runs from the shortest to the longest finite cable length, so that
// a survey that runs backwards or stops and starts again still fills the
// plot; NaN and infinite lengths have no place on it.
class AssessmentChartLayout
{
public:
    AssessmentChartLayout(const std::vector<float> &cableLengths, QSize size);

    // Both lanes together: the x span of the data.
    QRect plot() const { return m_depositLane.united(m_deformationLane); }
    // Capacity loss and deposit share above, deformation below.
    QRect depositLane() const { return m_depositLane; }
    QRect deformationLane() const { return m_deformationLane; }
    QRect legendRow() const { return m_legendRow; }

    // False when no frame has a finite cable length.
    bool hasRange() const { return m_hasRange; }
    double xmin() const { return m_xmin; }
    double xmax() const { return m_xmax; }
    // Metres between the length ticks: at least 50 pixels apart.
    double tickStep() const { return m_tickStep; }

    // The pixel column of a length (clamped to the plot), and back.
    int xOf(double metres) const;
    double metresAt(int x) const;
    // The frame whose cable length lies nearest to the length under column
    // x, the first of equals; -1 off the plot or without a range.
    int frameAt(int x) const;

private:
    const std::vector<float> &m_cableLengths;
    QRect m_legendRow;
    QRect m_depositLane;
    QRect m_deformationLane;
    bool m_hasRange = false;
    double m_xmin = 0;
    double m_xmax = 1;
    double m_tickStep = 1;
};

} // namespace dorvane
