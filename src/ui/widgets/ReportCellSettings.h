#pragma once

#include <QString>

namespace dorvane {

// The report's survey date and inspecting company as entered on the pipe
// attributes page: kept in the program's settings ("report/surveyDate",
// "report/company"), never in a survey file, so they stay from one survey
// and one start to the next.
class ReportCellSettings
{
public:
    static QString surveyDate();
    static void setSurveyDate(const QString &date);
    static QString company();
    static void setCompany(const QString &company);
};

} // namespace dorvane
