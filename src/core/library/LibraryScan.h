#pragma once

#include "core/assess/GradingTable.h"

#include <atomic>
#include <functional>
#include <string>

namespace dorvane {

class SurveyCatalogue;

// What a scan did.
struct ScanResult
{
    int unchanged = 0; // skipped: size, time and inode as indexed
    int added = 0;
    int updated = 0;
    int removed = 0;    // entries whose file is gone or whose folder left
    int unreadable = 0; // listed with their error text (not added or updated)
    int failed = 0;     // read but not written: the catalogue's lastError says why
    bool cancelled = false;
};

struct ScanOptions
{
    // Worker threads that open and derive surveys; 0: one per core.
    int workers = 0;
    // Called on the scanning thread after each survey read: (done, total).
    std::function<void(int done, int total)> progress;
    // Set from any thread to stop after the surveys being read now; what
    // was written stays whole.
    const std::atomic<bool> *cancel = nullptr;
};

// Brings the catalogue up to date with its folders (recursive): *.Imv
// surveys and *.img probe images (as one-frame surveys), any case. Files
// whose stamp is unchanged are skipped, entries whose file is gone are
// dropped, new and changed files are read on worker threads, and each
// result is written in a transaction of its own, so a killed scan leaves
// only whole entries. A folder that is not there at all keeps its entries.
ScanResult scanLibrary(SurveyCatalogue &catalogue, const GradingTable &grades,
                       const ScanOptions &options = {});

} // namespace dorvane
