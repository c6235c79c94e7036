#pragma once

#include "ui/widgets/UserPrompts.h"

namespace dorvane {

// The program's file dialogs, their titles and filters from the text table,
// so that each shows in the program's language.
UserPrompts::FileDialog openSurveyDialog();
UserPrompts::FileDialog saveSurveyDialog();
UserPrompts::FileDialog imgFilesDialog();
UserPrompts::FileDialog exportImageDialog();
UserPrompts::FileDialog exportVideoDialog();
// .doc, .docx and .pdf, the one offered first selected; name is offered.
UserPrompts::FileDialog exportReportDialog(bool docFirst, const QString &name);
UserPrompts::FileDialog gradingTableDialog();
// A folder chooser with the title of textId.
UserPrompts::FileDialog folderDialog(int textId);

} // namespace dorvane
