#include "core/acquire/ImgImport.h"

#include "core/app/TextIds.h"
#include "core/base/AtomicFile.h"
#include "core/base/MessageSink.h"
#include "core/base/ProgressSink.h"
#include "core/base/SameFile.h"
#include "core/data/AnimationFile.h"
#include "core/data/ImgFile.h"

namespace dorvane {

bool importImgFiles(const std::vector<std::string> &imgPaths, const AnimationFileHeader &fileHeader,
                    const std::string &destination, ProgressSink *progress, MessageSink &messages,
                    int *failedItem)
{
    if (failedItem)
        *failedItem = -1;
    const int count = static_cast<int>(imgPaths.size());
    // The new file would take the place of its own source.
    for (const std::string &imgPath : imgPaths) {
        if (isSameFile(imgPath, destination)) {
            messages.showMessage(text::CannotSaveOverOpenFile);
            return false;
        }
    }
    ProgressScope scope(progress, count);
    scope.setText(text::SavingData);
    // A survey cut short by a bad item would still open: it appears whole
    // or not at all.
    AtomicFile file;
    if (!openSurveyReplacement(file, destination, messages, text::SaveFileFailed))
        return false;
    AnimationFileHeader header = fileHeader;
    header.setMagic(AnimationFileHeader::Magic);
    if (!file.file().write(header.bytes().data(), header.bytes().size())) {
        messages.showMessage(text::SaveFileFailed);
        return false;
    }
    for (int i = 0; i < count; ++i) {
        scope.step(i, count);
        // appendImgFrame tells the user what went wrong.
        if (!appendImgFrame(imgPaths[static_cast<size_t>(i)], file.file(), messages)) {
            if (failedItem)
                *failedItem = i;
            return false;
        }
    }
    if (!file.commit()) {
        messages.showMessage(text::SaveFileFailed);
        return false;
    }
    scope.complete();
    return true;
}

} // namespace dorvane
