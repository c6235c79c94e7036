#pragma once

#include "core/document/HeaderEdits.h"

#include <QWidget>

class QLineEdit;

namespace dorvane {

class AnimationFileHeader;
class BoundedLineEdit;

// The survey-wide texts of the file header: place, start and end manhole
// numbers. Every keystroke asks for an edit of its own field in memory; the
// file gets it when the survey is saved. Typing stops where the header's
// field (64, 8 and 8 bytes of GBK) is full. Below them the survey date and
// inspecting company of the report, which belong to the program's settings
// rather than the survey: kept as typed, editable whatever survey is open.
class PipeAttributesPanel : public QWidget
{
    Q_OBJECT

public:
    explicit PipeAttributesPanel(QWidget *parent = nullptr);

    // Shows the header's fields.
    void load(const AnimationFileHeader &header);
    void clear();
    // A survey that cannot be saved only shows its attributes.
    void setReadOnly(bool readOnly);

signals:
    void editRequested(const FileHeaderEdit &edit);

private:
    BoundedLineEdit *m_place;
    BoundedLineEdit *m_startWell;
    BoundedLineEdit *m_endWell;
    QLineEdit *m_surveyDate;
    QLineEdit *m_company;
};

} // namespace dorvane
