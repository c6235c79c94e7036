#pragma once

#include <QObject>
#include <QProcess>
#include <QStringList>

namespace dorvane {

// One batch of reports written by the batch tool beside the program
// (tessiq-cli batch-report), which reports the surveys in parallel, one
// process each, and tells each finished survey on a line of its own.
class BatchReportRun : public QObject
{
    Q_OBJECT

public:
    explicit BatchReportRun(QObject *parent = nullptr);
    ~BatchReportRun() override;

    // False when the tool cannot be started. The company fills every
    // report's cell; the survey date is left out, as one date does not
    // hold for many surveys.
    bool start(const QStringList &surveys, const QString &folder, const QString &gradesFile,
               const QString &company);
    // Stops the batch: the tool keeps only whole reports.
    void cancel();
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }

    int written() const { return m_written; }
    // "survey: reason" for each survey that failed.
    const QStringList &failures() const { return m_failures; }
    bool wasCancelled() const { return m_cancelled; }
    // The tool that runs the batches; beside the program unless set.
    void setTool(const QString &path) { m_tool = path; }

signals:
    void progress(int done, int total);
    void finished();

private:
    void readLines();
    void ended();

    QProcess m_process;
    QString m_tool;
    QByteArray m_pending;
    int m_total = 0;
    int m_written = 0;
    QStringList m_failures;
    bool m_cancelled = false;
};

} // namespace dorvane
