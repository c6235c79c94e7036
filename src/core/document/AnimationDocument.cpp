#include "core/document/AnimationDocument.h"

#include "core/app/TextIds.h"
#include "core/base/MessageSink.h"
#include "core/base/ProgressSink.h"
#include "core/base/SameFile.h"
#include "core/base/SaveJournal.h"
#include "core/data/ImgFile.h"
#include "core/document/FrameStreamDeriver.h"

#include <cerrno>
#include <new>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace dorvane {

static_assert(SaveJournal::FileHeaderSize == AnimationFileHeader::Size &&
              SaveJournal::HeaderTextsBegin == AnimationFileHeader::TextsBegin &&
              SaveJournal::HeaderTextsEnd == AnimationFileHeader::TextsEnd);

namespace {

// Runs its function when the scope is left, however it is left.
template<typename F>
class AtScopeEnd
{
public:
    explicit AtScopeEnd(F f) : m_f(std::move(f)) {}
    ~AtScopeEnd() { m_f(); }
    AtScopeEnd(const AtScopeEnd &) = delete;
    AtScopeEnd &operator=(const AtScopeEnd &) = delete;

private:
    F m_f;
};

} // namespace

AnimationDocument::AnimationDocument(MessageSink &messages)
    : m_messages(messages), m_current(std::make_unique<FrameRecord>())
{}

AnimationDocument::~AnimationDocument() = default;

void AnimationDocument::reset()
{
    m_modified = false;
    m_derived.clear();
    m_frameCount = 0;
    m_trailingBytes = 0;
    m_currentIndex = -1;
    m_file.close();
    m_readOnly = false;
    m_writeDepth = 0;
    m_path.clear();
    m_journalPath.clear();
    m_fileHeader.clear();
    m_current->clear();
    rememberStoredHeaders();
}

void AnimationDocument::rememberStoredHeaders()
{
    m_storedHeader = m_current->header;
    m_storedFileHeader = m_fileHeader;
}

bool AnimationDocument::openForWriting(const std::string &path, ProgressSink *progress)
{
    m_openForWriting = true;
    const bool opened = open(path, progress);
    m_openForWriting = false;
    if (opened && hasFile())
        m_writeDepth = 1;
    return opened;
}

bool AnimationDocument::lock(bool exclusive)
{
    PosixFile &file = m_file.file();
    for (int attempt = 0;; ++attempt) {
        // A file system without locks is read and written unlocked.
        if (file.tryLock(exclusive) || file.lastError() != EWOULDBLOCK)
            return true;
        if (attempt == 50)
            break;
        ::usleep(20000);
    }
    m_messages.showMessage(text::BeingChangedElsewhere);
    return false;
}

bool AnimationDocument::open(const std::string &path, ProgressSink *progress)
{
    reset();
    // Nobody writes the survey while it is read. A writer that replaced the
    // file while this waited for the lock leaves the name to a new file:
    // that one is opened.
    bool locked = false;
    for (int attempt = 0; attempt < 3 && !locked; ++attempt) {
        if (!openFile(path)) {
            m_messages.showMessage(text::OpenFileFailed);
            reset();
            return false;
        }
        if (!lock(m_openForWriting && !m_readOnly)) {
            reset();
            return false;
        }
        locked = isSameFileAsOpen(path);
    }
    if (!locked) {
        m_messages.showMessage(text::BeingChangedElsewhere);
        reset();
        return false;
    }
    if (!settleJournal(path)) {
        reset();
        return false;
    }
    const auto size = m_file.file().size();
    if (!size || *size <= AnimationFileHeader::Size ||
        !m_file.file().readAt(0, m_fileHeader.bytes().data(), AnimationFileHeader::Size)) {
        // Too short for a survey and not a survey's header, but long enough
        // for a probe image's header: an IMG file cut short.
        m_fileHeader.clear();
        m_file.file().readSomeAt(0, m_fileHeader.bytes().data(), 2);
        const bool cutImg = size && *size >= ImgLayout::HeaderSize && !m_fileHeader.isAnimation();
        m_messages.showMessage(cutImg ? text::ImgFileError : text::IllegalFileFormat);
        reset();
        return false;
    }
    if (!m_fileHeader.isAnimation())
        return openImg(path, progress);

    m_frameCount = frameCountForSize(*size).value_or(0);
    if (m_frameCount == 0) {
        m_messages.showMessage(text::FileDataError);
        reset();
        return false;
    }
    if (!buildDerived(progress)) {
        m_messages.showMessage(text::AnimationFrameError);
        reset();
        return false;
    }
    m_path = path;
    m_trailingBytes = (*size - AnimationFileHeader::Size) % FrameRecord::Size;
    rememberStoredHeaders();
    if (const auto stamp = stampNow())
        m_stamp = *stamp;
    if (!m_openForWriting)
        m_file.file().unlock();
    return true;
}

bool AnimationDocument::settleJournal(const std::string &path)
{
    m_journalPath = SaveJournal::pathFor(path);
    struct stat entry
    {};
    if (::lstat(m_journalPath.c_str(), &entry) != 0)
        return true;
    // A save cut off part way last time is taken back before anything is
    // read, and only while no one else can be at work on the file.
    PosixFile &file = m_file.file();
    if (!lock(true))
        return false;
    switch (SaveJournal::recover(m_journalPath, file)) {
    case SaveJournal::Recovery::PutBack:
        m_messages.showMessage(text::UnfinishedSaveTakenBack);
        break;
    case SaveJournal::Recovery::Failed:
        m_messages.showMessage(text::UnfinishedSaveLeft);
        break;
    case SaveJournal::Recovery::Damaged:
        m_messages.showMessage(text::SaveJournalDamaged, m_journalPath);
        break;
    case SaveJournal::Recovery::NotAFile:
        m_messages.showMessage(text::SaveJournalNameTaken, m_journalPath);
        break;
    case SaveJournal::Recovery::NothingToDo:
    case SaveJournal::Recovery::Stale:
        break;
    }
    if (!m_openForWriting)
        file.tryLock(false);
    return true;
}

std::optional<AnimationDocument::FileStamp> AnimationDocument::stampNow() const
{
    struct stat st
    {};
    if (!m_file.isOpen() || ::fstat(m_file.file().descriptor(), &st) != 0)
        return std::nullopt;
    return FileStamp{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino),
                     static_cast<uint64_t>(st.st_size), static_cast<int64_t>(st.st_mtim.tv_sec),
                     static_cast<int64_t>(st.st_mtim.tv_nsec)};
}

bool AnimationDocument::changedOnDisk() const
{
    if (!m_file.isOpen() || m_path.empty())
        return false;
    const auto now = stampNow();
    return !now || !(*now == m_stamp) || !isSameFileAsOpen(m_path);
}

bool AnimationDocument::beginWrite()
{
    if (m_writeDepth++ > 0)
        return true;
    PosixFile &file = m_file.file();
    if (!lock(true)) {
        m_writeDepth = 0;
        return false;
    }
    // Headers held from before another program's change would be written
    // over it.
    if (changedOnDisk()) {
        m_writeDepth = 0;
        file.unlock();
        m_messages.showMessage(text::ChangedElsewhere);
        return false;
    }
    return true;
}

void AnimationDocument::endWrite()
{
    if (m_writeDepth == 0 || --m_writeDepth > 0)
        return;
    if (const auto stamp = stampNow())
        m_stamp = *stamp;
    m_file.file().unlock();
}

bool AnimationDocument::openImg(const std::string &path, ProgressSink *progress)
{
    reset();
    if (!readImgFrame(path, *m_current)) {
        reset();
        m_messages.showMessage(text::ImgFileError);
        return false;
    }
    m_frameCount = 1;
    m_currentIndex = 0;
    m_fileHeader = AnimationFileHeader::newAnimation();
    if (!buildDerived(progress)) {
        reset();
        m_messages.showMessage(text::AnimationFrameError);
        return false;
    }
    rememberStoredHeaders();
    return true;
}

bool AnimationDocument::loadFrame(int index, bool force)
{
    if ((!force && index == m_currentIndex) || !m_file.isOpen())
        return true;
    if (!m_file.readFrame(index, *m_current)) {
        m_messages.showMessage(text::ReadFileDataError);
        return false;
    }
    m_currentIndex = index;
    m_storedHeader = m_current->header;
    return true;
}

void AnimationDocument::deriveFrame(int index)
{
    if (index < 0 || index >= m_derived.size())
        return;
    const FrameHeader &h = m_current->header;
    m_derived.store(index, h, analyseFrame(*m_current, pipeCentre(h)));
}

bool AnimationDocument::editCurrentHeader(const FrameEdit &edit)
{
    if (!isOpen() || refuseReadOnlyEdit())
        return false;
    FrameHeader edited = m_current->header;
    edit(edited);
    if (edited.encoded() == m_current->header.encoded())
        return false;
    m_current->header = edited;
    m_modified = true;
    return true;
}

bool AnimationDocument::editFileHeader(const FileHeaderEdit &edit)
{
    if (!isOpen() || refuseReadOnlyEdit())
        return false;
    AnimationFileHeader edited = m_fileHeader;
    edit(edited);
    if (edited.bytes() == m_fileHeader.bytes())
        return false;
    m_fileHeader = edited;
    m_modified = true;
    return true;
}

bool AnimationDocument::refuseReadOnlyEdit()
{
    // An edit that could never be saved is refused at once.
    if (m_readOnly)
        m_messages.showMessage(text::ReadOnlyFile);
    return m_readOnly;
}

void AnimationDocument::discardChanges()
{
    m_current->header = m_storedHeader;
    m_fileHeader = m_storedFileHeader;
    m_modified = false;
}

bool AnimationDocument::buildDerived(ProgressSink *progress)
{
    // The file's size only promises frames: the arrays grow with the frames
    // read, and memory that cannot be had fails the build like a bad frame.
    try {
        return deriveAllFrames(progress);
    } catch (const std::bad_alloc &) {
    } catch (const std::system_error &) {
        // No helper thread could be started.
    }
    m_derived.release();
    return false;
}

bool AnimationDocument::deriveAllFrames(ProgressSink *progress)
{
    ProgressScope scope(progress, m_frameCount);
    if (m_file.isOpen()) {
        // Every frame is read from the file, the current one included, so
        // that headers rewritten on disk reach the derived values.
        const int done =
            FrameStreamDeriver::derive(m_file.file(), m_frameCount, m_derived, *m_current, scope);
        if (done < m_frameCount)
            return false;
        m_currentIndex = m_frameCount - 1;
    } else {
        m_derived.resize(m_frameCount);
        for (int i = 0; i < m_frameCount; ++i) {
            if (!loadFrame(i, false))
                return false;
            deriveFrame(i);
            scope.step(i, m_frameCount);
        }
    }
    scope.complete();
    return true;
}

bool AnimationDocument::openFile(const std::string &path)
{
    // A survey on a read-only medium, or one the user may not write, can
    // still be read: it opens without the edits that would have to be saved.
    m_readOnly = false;
    if (m_file.open(path, PosixFile::Mode::ReadWrite))
        return true;
    m_readOnly = m_file.open(path, PosixFile::Mode::Read);
    return m_readOnly;
}

bool AnimationDocument::requireFile()
{
    if (m_file.isOpen())
        return true;
    if (isOpen())
        m_messages.showMessage(text::NoAnimationFileBehindData);
    return false;
}

bool AnimationDocument::requireWritableFile()
{
    if (!requireFile())
        return false;
    if (m_readOnly) {
        m_messages.showMessage(text::ReadOnlyFile);
        return false;
    }
    return true;
}

bool AnimationDocument::saveCurrent()
{
    if (!requireWritableFile() || !beginWrite())
        return false;
    const AtScopeEnd done([this] { endWrite(); });
    // A failed save leaves the survey as it was, not half edited. Of the
    // file header only the texts are the user's to change.
    PosixFile &file = m_file.file();
    const uint64_t frameAt = frameOffset(m_currentIndex);
    constexpr size_t TextsAt = AnimationFileHeader::TextsBegin;
    constexpr size_t TextsSize = AnimationFileHeader::TextsEnd - TextsAt;
    std::vector<uint8_t> oldFileHeader(TextsSize);
    std::vector<uint8_t> oldFrameHeader(FrameHeader::Size);
    if (!file.readAt(TextsAt, oldFileHeader.data(), oldFileHeader.size()) ||
        !file.readAt(frameAt, oldFrameHeader.data(), oldFrameHeader.size())) {
        m_messages.showMessage(text::ReadFileDataError);
        return false;
    }
    const auto newFrameHeader = m_current->header.encoded();
    SaveJournal journal;
    const auto texts = m_fileHeader.bytes().begin() + TextsAt;
    journal.add(TextsAt, std::move(oldFileHeader), {texts, texts + TextsSize});
    journal.add(frameAt, std::move(oldFrameHeader), {newFrameHeader.begin(), newFrameHeader.end()});
    if (const int error = writeInPlace(journal)) {
        if (error > 0)
            m_messages.showMessage(text::SaveFileFailed, systemErrorText(error));
        return false;
    }
    m_modified = false;
    rememberStoredHeaders();
    return true;
}

bool AnimationDocument::isSameFileAsOpen(const std::string &path) const
{
    return isOpenFile(path, m_file.file().descriptor());
}

bool AnimationDocument::copyAnimation(const std::string &destination, ProgressSink *progress,
                                      int skipIndex)
{
    if (!requireFile())
        return false;
    // Creating the copy would truncate the very file it copies from.
    if (isSameFileAsOpen(destination)) {
        m_messages.showMessage(text::CannotSaveOverOpenFile);
        return false;
    }
    return m_file.copyAnimation(destination, m_fileHeader, m_frameCount, skipIndex, progress,
                                m_messages);
}

bool AnimationDocument::deleteCurrentFrame(ProgressSink *progress)
{
    if (!requireWritableFile() || m_currentIndex < 0 || !beginWrite())
        return false;
    const AtScopeEnd done([this] { endWrite(); });
    // The copy without the frame replaces the survey in one rename: at every
    // moment the file holds either the old survey or the new one. Through a
    // link, the survey it points to is replaced.
    if (!m_file.copyAnimation(m_path, m_fileHeader, m_frameCount, m_currentIndex, progress,
                              m_messages, true) &&
        isSameFileAsOpen(m_path))
        return false;
    // Done, or only the folder could not be synced after the rename: the
    // survey on disk is the new one either way.
    reset();
    return true;
}

bool AnimationDocument::applyToFrames(const BulkEdit &requested, ProgressSink *progress)
{
    if (!isOpen() || !requireWritableFile() || !beginWrite())
        return false;
    const AtScopeEnd done([this] { endWrite(); });
    // Pending edits of the current frame are saved first, as "save changes".
    if (!saveCurrent() || !loadFrame(m_currentIndex, true))
        return false;

    BulkEdit edit = requested;
    edit.currentPipeRadius = m_current->header.pipeRadius;
    const int remembered = m_currentIndex;
    bool complete = true;
    {
        // Every header is read and edited first, then written under one
        // journal: the survey is either edited throughout or as it was.
        const int steps = 2 * m_frameCount;
        ProgressScope scope(progress, steps);
        scope.setText(text::ModifyingData);
        SaveJournal journal;
        try {
            for (int i = 0; i < m_frameCount; ++i) {
                FrameHeader header;
                if (!m_file.readFrameHeader(i, header)) {
                    m_messages.showMessage(text::ReadFileDataError);
                    complete = false;
                    break;
                }
                std::vector<uint8_t> before(header.rawBytes.begin(), header.rawBytes.end());
                applyBulkEdit(edit, i, m_frameCount, header);
                const auto after = header.encoded();
                journal.add(frameOffset(i), std::move(before), {after.begin(), after.end()});
                scope.step(i, steps);
            }
        } catch (const std::bad_alloc &) {
            // An edit that could not be undone is not begun.
            m_messages.showMessage(text::SaveFileFailed);
            return false;
        }
        if (complete) {
            if (const int error = writeInPlace(journal, [&](size_t i) {
                    scope.step(m_frameCount + static_cast<int>(i), steps);
                })) {
                if (error > 0)
                    m_messages.showMessage(text::SaveFileFailed, systemErrorText(error));
                complete = false;
            }
        }
        scope.complete();
    }

    if (progress)
        progress->setProgressText(text::ReadingData);
    if (!buildDerived(progress)) {
        m_messages.showMessage(text::AnimationFrameError);
        reset();
        return false;
    }
    if (!loadFrame(remembered, true))
        return false;
    deriveFrame(remembered);
    return complete;
}

namespace {

// Why a call on file failed, for telling the user.
int failureOf(const PosixFile &file)
{
    return file.lastError() ? file.lastError() : EIO;
}

} // namespace

int AnimationDocument::writeInPlace(const SaveJournal &journal,
                                    const std::function<void(size_t)> &written)
{
    // Something that is not a file under the journal's name is left alone,
    // and without a journal nothing is written.
    if (SaveJournal::nameIsTaken(m_journalPath)) {
        m_messages.showMessage(text::SaveJournalNameTaken, m_journalPath);
        return -1;
    }
    const auto identity = SaveJournal::identityOf(m_file.file());
    int error = 0;
    if (!identity || !journal.write(m_journalPath, *identity, &error))
        return error ? error : EIO;
    PosixFile &file = m_file.file();
    size_t done = 0;
    for (; done < journal.size(); ++done) {
        if (!journal.writeRange(file, done)) {
            error = failureOf(file);
            break;
        }
        if (written)
            written(done);
    }
    if (!error && !file.sync())
        error = failureOf(file);
    // A survey removed or replaced underneath took the edit with it: the
    // user is told rather than shown it as saved.
    if (!error && !isSameFileAsOpen(m_path))
        error = ENOENT;
    if (error) {
        // The range that failed may be written in part: it goes back too.
        if (journal.putBack(file, done + 1) && file.sync())
            SaveJournal::remove(m_journalPath);
        return error;
    }
    // A journal that outlives this is found finished at the next open.
    SaveJournal::remove(m_journalPath);
    return 0;
}

float AnimationDocument::cableSpan() const
{
    FrameHeader first, last;
    if (!m_file.readFrameHeader(0, first) || !m_file.readFrameHeader(m_frameCount - 1, last))
        return 0.0f;
    return last.cableLength - first.cableLength;
}

bool AnimationDocument::readFrame(int index, FrameRecord &frame) const
{
    if (!m_file.isOpen()) {
        if (index != 0 || m_frameCount != 1)
            return false;
        frame = *m_current;
        return true;
    }
    return m_file.readFrame(index, frame);
}

bool AnimationDocument::readFrameHeader(int index, FrameHeader &header) const
{
    if (!m_file.isOpen()) {
        if (index != 0 || m_frameCount != 1)
            return false;
        header = m_current->header;
        return true;
    }
    return m_file.readFrameHeader(index, header);
}

} // namespace dorvane
