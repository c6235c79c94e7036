#include "ui/widgets/FileDialogs.h"

#include "core/app/TextIds.h"
#include "ui/widgets/UiText.h"

namespace dorvane {

namespace {

QString filters(std::initializer_list<int> ids)
{
    QStringList list;
    for (int id : ids)
        list << uiText(id);
    return list.join(";;");
}

} // namespace

UserPrompts::FileDialog openSurveyDialog()
{
    // A probe image opens as a survey of one frame.
    return {uiText(text::OpenSurveyTitle),
            filters({text::SurveyFilesFilter, text::SurveyFilter, text::ImgFilter,
                     text::AllFilesFilter}),
            "Imv"};
}

UserPrompts::FileDialog saveSurveyDialog()
{
    return {uiText(text::SaveSurveyTitle), filters({text::SurveyFilter, text::AllFilesFilter}),
            "Imv"};
}

UserPrompts::FileDialog imgFilesDialog()
{
    return {uiText(text::ChooseImgFilesTitle), filters({text::ImgFilter, text::AllFilesFilter}),
            "img"};
}

UserPrompts::FileDialog exportImageDialog()
{
    return {uiText(text::ExportImageTitle), filters({text::BmpFilter}), "bmp"};
}

UserPrompts::FileDialog exportVideoDialog()
{
    return {uiText(text::ExportVideoTitle), filters({text::AviFilter}), "avi"};
}

UserPrompts::FileDialog exportReportDialog(bool docFirst, const QString &name)
{
    return {uiText(text::ExportReportTitle),
            docFirst ? filters({text::DocFilter, text::DocxFilter, text::PdfFilter})
                     : filters({text::DocxFilter, text::DocFilter, text::PdfFilter}),
            docFirst ? "doc" : "docx", name};
}

UserPrompts::FileDialog gradingTableDialog()
{
    return {uiText(text::ChooseGradingTableTitle),
            filters({text::JsonFilter, text::AllFilesFilter}), "json"};
}

UserPrompts::FileDialog folderDialog(int textId)
{
    return {uiText(textId), QString(), QString()};
}

} // namespace dorvane
