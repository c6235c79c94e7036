#pragma once

#include <string>
#include <vector>

namespace dorvane {

class ProgressSink;
class WordApplication;

enum class WordReportResult
{
    Written,
    // No word processor: the caller tells "cannot export the Word document".
    CannotStart,
    // The caller tells "an error occurred while exporting the report".
    Failed
};

// Fills a new document based on the template copy with the report's texts
// and pictures (see buildReportPictures and reportTexts) and saves it as
// outputPath. application is null when the word processor could not be
// started. Progress runs from 10 to 90 of 100.
WordReportResult fillWordReport(WordApplication *application, const std::string &templateCopyPath,
                                const std::string &outputPath,
                                const std::vector<std::string> &pictures,
                                const std::vector<std::string> &texts, ProgressSink *progress);

} // namespace dorvane
