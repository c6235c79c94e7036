#include "ui/library/BatchReportRun.h"

#include "core/app/ProgramPaths.h"

namespace dorvane {

BatchReportRun::BatchReportRun(QObject *parent)
    : QObject(parent), m_tool(QString::fromStdString(programFolder() + "tessiq-cli"))
{
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &BatchReportRun::readLines);
    connect(&m_process, &QProcess::finished, this, &BatchReportRun::ended);
    // The tool's own progress lines are for a terminal.
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setStandardErrorFile(QProcess::nullDevice());
}

BatchReportRun::~BatchReportRun()
{
    if (isRunning()) {
        m_process.disconnect(this);
        m_process.terminate();
        m_process.waitForFinished(10000);
    }
}

bool BatchReportRun::start(const QStringList &surveys, const QString &folder,
                           const QString &gradesFile, const QString &company)
{
    if (isRunning() || surveys.isEmpty())
        return false;
    m_total = static_cast<int>(surveys.size());
    m_written = 0;
    m_failures.clear();
    m_pending.clear();
    m_cancelled = false;
    QStringList arguments{"batch-report"};
    arguments << surveys << "-o" << folder;
    if (!gradesFile.isEmpty())
        arguments << "--grades" << gradesFile;
    if (!company.isEmpty())
        arguments << "--company" << company;
    m_process.start(m_tool, arguments);
    if (!m_process.waitForStarted(5000))
        return false;
    emit progress(0, m_total);
    return true;
}

void BatchReportRun::cancel()
{
    if (!isRunning())
        return;
    m_cancelled = true;
    m_process.terminate();
}

void BatchReportRun::readLines()
{
    m_pending += m_process.readAllStandardOutput();
    for (qsizetype end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
        const QString line = QString::fromUtf8(m_pending.left(end));
        m_pending.remove(0, end + 1);
        const QStringList fields = line.split('\t');
        if (fields.size() < 3)
            continue;
        if (fields[0] == "ok")
            ++m_written;
        else if (fields[0] == "failed")
            m_failures << fields[1] + ": " + fields.mid(2).join('\t');
        else
            continue;
        emit progress(m_written + static_cast<int>(m_failures.size()), m_total);
    }
}

void BatchReportRun::ended()
{
    readLines();
    emit finished();
}

} // namespace dorvane
