#pragma once

#include <string>

namespace dorvane {

class ProgressSink;
class WordApplication;
struct ReportContent;

struct WordReportResult
{
    enum Outcome
    {
        Written,
        // No word processor: the caller tells "cannot export the Word document".
        CannotStart,
        // The caller tells "an error occurred while exporting the report".
        Failed
    };

    Outcome outcome = Failed;
    // Why saving failed when the system refused it (an errno value), else 0.
    int systemError = 0;
};

// Fills a new document based on the template with the report's content and
// saves it as outputPath: the place; the sediment classes' lengths and
// shares with the chart below them (450 x 300 points); the wells, total
// length, average sediment and the blank cell; the four 3D views (200 x 200)
// and the marked frames, three a row (140 x 140). application is null when
// the word processor could not be started. Progress rises from 10 to 90 of
// 100.
WordReportResult fillWordReport(WordApplication *application, const std::string &templatePath,
                                const std::string &outputPath, const ReportContent &content,
                                ProgressSink *progress);

} // namespace dorvane
