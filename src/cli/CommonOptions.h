#pragma once

#include <string>

namespace CLI {
class App;
class Option;
} // namespace CLI

namespace dorvane::cli {

// A whole number option, written in decimal as always (a leading zero does
// not make it octal).
CLI::Option *addDecimal(CLI::App &command, const std::string &name, int &value,
                        const std::string &typeName, const std::string &description);
// A whole number option from min to max, written in decimal as always (a
// leading zero does not make it octal).
CLI::Option *addWholeNumber(CLI::App &command, const std::string &name, int &value, int min,
                            int max, const std::string &typeName, const std::string &description);
// The survey a command reads: its one positional argument.
void addSurveyFile(CLI::App &command, std::string &path);
// "--frame I", a frame of the survey (0 when absent); the survey's own
// frame count is checked once it is open.
CLI::Option *addFrameOption(CLI::App &command, int &frame);
// "-o OUT", the file a command writes.
void addOutputOption(CLI::App &command, std::string &path, const std::string &typeName);
// "--survey-date TEXT" and "--company TEXT", the report's project cells that
// the survey does not hold.
void addReportCellOptions(CLI::App &command, std::string &surveyDate, std::string &company);
// Bad usage when output reaches the survey the command reads, by any
// spelling, link or hard link: writing it would put something else in the
// survey's place.
void requireOutputBesideSurvey(const std::string &survey, const std::string &output);

} // namespace dorvane::cli
