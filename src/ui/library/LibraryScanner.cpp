#include "ui/library/LibraryScanner.h"

#include "core/base/MessageSink.h"
#include "core/library/SurveyCatalogue.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace dorvane {

LibraryScanner::LibraryScanner(QObject *parent) : QObject(parent) {}

LibraryScanner::~LibraryScanner()
{
    cancel();
    join();
}

bool LibraryScanner::start(const std::string &catalogue, const GradingTable &grades)
{
    if (m_running)
        return false;
    join();
    m_running = true;
    m_cancel = false;
    m_thread = std::thread([this, catalogue, grades] {
        // The window has opened (and, if need be, rebuilt) the database
        // already: this connection has nothing new to tell.
        SilentMessageSink silent;
        const std::unique_ptr<SurveyCatalogue> db = SurveyCatalogue::open(catalogue, silent);
        ScanResult result;
        if (db) {
            ScanOptions options;
            options.cancel = &m_cancel;
            options.progress = [this](int done, int total) {
                QMetaObject::invokeMethod(
                    this, [this, done, total] { emit progress(done, total); },
                    Qt::QueuedConnection);
            };
            result = scanLibrary(*db, grades, options);
        }
        const bool opened = db != nullptr;
        QMetaObject::invokeMethod(
            this,
            [this, result, opened] {
                m_running = false;
                emit finished(result, opened);
            },
            Qt::QueuedConnection);
    });
    return true;
}

void LibraryScanner::cancel()
{
    m_cancel = true;
}

void LibraryScanner::wait()
{
    join();
    // What the thread posted before it ended.
    QCoreApplication::sendPostedEvents(this);
}

void LibraryScanner::join()
{
    if (m_thread.joinable())
        m_thread.join();
}

} // namespace dorvane
