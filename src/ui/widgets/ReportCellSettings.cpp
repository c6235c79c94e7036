#include "ui/widgets/ReportCellSettings.h"

#include <QSettings>

namespace dorvane {

namespace {
const char *const DateKey = "report/surveyDate";
const char *const CompanyKey = "report/company";
} // namespace

QString ReportCellSettings::surveyDate()
{
    return QSettings().value(DateKey).toString();
}

void ReportCellSettings::setSurveyDate(const QString &date)
{
    QSettings().setValue(DateKey, date);
}

QString ReportCellSettings::company()
{
    return QSettings().value(CompanyKey).toString();
}

void ReportCellSettings::setCompany(const QString &company)
{
    QSettings().setValue(CompanyKey, company);
}

} // namespace dorvane
