#pragma once

#include "core/assess/GradingTable.h"
#include "core/library/LibraryScan.h"

#include <QObject>
#include <atomic>
#include <thread>

namespace dorvane {

// Runs a scan of the library away from the interface thread, on a
// connection of its own to the catalogue, and tells its progress and end
// back on the interface thread.
class LibraryScanner : public QObject
{
    Q_OBJECT

public:
    explicit LibraryScanner(QObject *parent = nullptr);
    // Cancels a running scan and waits for it.
    ~LibraryScanner() override;

    // False while a scan runs.
    bool start(const std::string &catalogue, const GradingTable &grades);
    void cancel();
    bool isRunning() const { return m_running; }
    // Blocks until the running scan has ended and told its end.
    void wait();

signals:
    void progress(int done, int total);
    // opened is false when the catalogue could not be opened (told).
    void finished(const dorvane::ScanResult &result, bool opened);

private:
    void join();

    std::thread m_thread;
    std::atomic<bool> m_cancel{false};
    bool m_running = false;
};

} // namespace dorvane
