#include "cli/CommonOptions.h"

#include "cli/UsageError.h"
#include "core/base/SameFile.h"

#include <CLI/App.hpp>
#include <CLI/Validators.hpp>
#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace dorvane::cli {

namespace {

// Reads the number as strtol does in base 10 and hands it on in plain
// digits, for the range check and the conversion, which would take "010"
// as octal.
const CLI::Validator Decimal(
    [](std::string &text) {
        char *end = nullptr;
        errno = 0;
        const long n = std::strtol(text.c_str(), &end, 10);
        if (text.empty() || *end != '\0' || errno == ERANGE)
            return std::string("not a whole number: " + text);
        text = std::to_string(n);
        return std::string();
    },
    "");

} // namespace

CLI::Option *addDecimal(CLI::App &command, const std::string &name, int &value,
                        const std::string &typeName, const std::string &description)
{
    return command.add_option(name, value, description)->type_name(typeName)->transform(Decimal);
}

CLI::Option *addWholeNumber(CLI::App &command, const std::string &name, int &value, int min,
                            int max, const std::string &typeName, const std::string &description)
{
    return addDecimal(command, name, value, typeName, description)->check(CLI::Range(min, max));
}

void addSurveyFile(CLI::App &command, std::string &path)
{
    command.add_option("FILE", path, "the survey (*.Imv, or a *.img probe image file)")
        ->type_name("")
        ->required();
}

CLI::Option *addFrameOption(CLI::App &command, int &frame)
{
    // Its range is the survey's, told in the message when it is past the end.
    return addDecimal(command, "--frame", frame, "I",
                      "the frame from 0; the window counts from 1 (0)")
        ->check(CLI::Range(0, INT32_MAX).description(""));
}

void addOutputOption(CLI::App &command, std::string &path, const std::string &typeName)
{
    command.add_option("-o", path, "the file to write")->type_name(typeName)->required();
}

void addReportCellOptions(CLI::App &command, std::string &surveyDate, std::string &company)
{
    command.add_option("--survey-date", surveyDate, "the survey date of the report (empty)")
        ->type_name("TEXT");
    command.add_option("--company", company, "the inspecting company of the report (empty)")
        ->type_name("TEXT");
}

void requireOutputBesideSurvey(const std::string &survey, const std::string &output)
{
    if (isSameFile(survey, output))
        throw UsageError{"the output would replace the survey: choose another output"};
}

} // namespace dorvane::cli
