#pragma once

#include "core/data/FrameHeader.h"
#include "core/document/BulkEdit.h"
#include "core/document/HeaderEdits.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QSlider;
class QToolButton;

namespace dorvane {

class BoundedLineEdit;
class BoundedTextEdit;
class MessageSink;

// The page with the shown frame's attributes: texts, flags, pipe radius and
// error rate, circle tool and ruler switches. It shows a copy of the frame's
// header; each control the operator changes asks for an edit of its own
// field only, so a field nobody touched is never written. The apply buttons
// ask first and then request a bulk edit.
class FramePropertyPanel : public QWidget
{
    Q_OBJECT

public:
    explicit FramePropertyPanel(MessageSink &messages, QWidget *parent = nullptr);

    // Shows frame index with the given header.
    void loadFrame(int index, const FrameHeader &header);
    // Empty texts and zero values; no frame.
    void clear();
    // During playback the controls only show.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    int frameIndex() const { return m_index; }

signals:
    void editRequested(const FrameEdit &edit);
    void applyRequested(const BulkEdit &edit);
    void deleteRequested();

private:
    void request(const FrameEdit &edit);
    void apply(int questionId, BulkEditKind kind);
    void updateToolButtons();
    QToolButton *button(const char *name, int tipId);

    MessageSink &m_messages;
    FrameHeader m_header;
    bool m_hasFrame = false;
    int m_index = -1;
    bool m_readOnly = false;
    bool m_loading = false;

    BoundedLineEdit *m_pipeName;
    BoundedLineEdit *m_title;
    QLineEdit *m_cable;
    QLineEdit *m_tilt;
    QLineEdit *m_roll;
    QLineEdit *m_detectRadius;
    QSpinBox *m_pipeRadiusValue;
    QSlider *m_pipeRadius;
    QSpinBox *m_errorRateValue;
    QSlider *m_errorRate;
    BoundedTextEdit *m_notes;
    QCheckBox *m_exclude;
    QCheckBox *m_defect;
    QCheckBox *m_report;
    QCheckBox *m_circle;
    QCheckBox *m_ruler;
    QLineEdit *m_rulerLength;
    QLabel *m_note;
    QToolButton *m_applyPipeRadius;
    QToolButton *m_applyErrorRate;
    QToolButton *m_applyReport;
    QToolButton *m_applyCircleBefore;
    QToolButton *m_applyCircleAfter;
    QToolButton *m_delete;
};

} // namespace dorvane
