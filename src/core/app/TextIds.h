#pragma once

// Ids of the texts the code refers to by name. Every user-visible text is
// fetched through loadText(id), so a language file can replace it.
namespace dorvane::text {

constexpr int ReadingData = 103;
constexpr int SavingData = 104;
constexpr int SaveBmpFailed = 105;
constexpr int SaveFileFailed = 106;
constexpr int DataChangedSave = 134;
constexpr int RestartForLanguage = 143;
constexpr int OpenFileFailed = 176;
constexpr int IllegalFileFormat = 177;
constexpr int ImgFileError = 178;
constexpr int FileDataError = 179;
constexpr int AnimationFrameError = 180;
constexpr int ReadFileDataError = 181;
constexpr int FrameHeaderError = 183;
constexpr int CreateFileFailed = 186;
constexpr int ModifyingData = 201;
constexpr int CannotSaveOverOpenFile = 379;
constexpr int NoAnimationFileBehindData = 380;

} // namespace dorvane::text
