#pragma once

#include <QWidget>

class QLineEdit;

namespace dorvane {

class AnimationFileHeader;

// The survey-wide texts of the file header: place, start and end manhole
// numbers. Every keystroke is written into the header in memory and
// announced as an edit; the file gets it when the survey is saved.
class PipeAttributesPanel : public QWidget
{
    Q_OBJECT

public:
    explicit PipeAttributesPanel(QWidget *parent = nullptr);

    // Shows the header's fields and edits that header from now on.
    void load(AnimationFileHeader &header);

signals:
    void edited();

private:
    void store();

    AnimationFileHeader *m_header = nullptr;
    QLineEdit *m_place;
    QLineEdit *m_startWell;
    QLineEdit *m_endWell;
};

} // namespace dorvane
