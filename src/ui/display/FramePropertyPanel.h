#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSlider;
class QToolButton;

namespace dorvane {

struct FrameHeader;
class MessageSink;

// The page with the shown frame's attributes: texts, flags, pipe radius and
// error rate, circle tool and ruler switches. Every change is written into
// the frame's header at once and announced; the apply buttons ask first and
// then request a bulk edit.
class FramePropertyPanel : public QWidget
{
    Q_OBJECT

public:
    explicit FramePropertyPanel(MessageSink &messages, QWidget *parent = nullptr);

    // Shows frame index and edits its header (kept alive by the caller).
    void loadFrame(int index, FrameHeader *header);
    // Writes every control back into the header.
    void storeFrame();
    // Empty texts and zero values; no header.
    void clear();
    // During playback the controls only show.
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return m_readOnly; }
    int frameIndex() const { return m_index; }

signals:
    void frameEdited();
    void applyRequested(int kind, int value, const QPoint &circle);
    void deleteRequested();

private:
    void edited();
    void pipeRadiusMoved(int value);
    void errorRateMoved(int value);
    void circleToggled();
    void rulerToggled();
    void apply(int questionId, int kind);
    void updateToolButtons();
    QToolButton *button(const char *name, int tipId);

    MessageSink &m_messages;
    FrameHeader *m_header = nullptr;
    int m_index = -1;
    bool m_readOnly = false;
    bool m_loading = false;

    QLineEdit *m_pipeName;
    QLineEdit *m_title;
    QLineEdit *m_cable;
    QLineEdit *m_tilt;
    QLineEdit *m_roll;
    QLineEdit *m_detectRadius;
    QLineEdit *m_pipeRadiusValue;
    QSlider *m_pipeRadius;
    QLineEdit *m_errorRateValue;
    QSlider *m_errorRate;
    QPlainTextEdit *m_notes;
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
