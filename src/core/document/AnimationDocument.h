#pragma once

#include "core/data/AnimationFile.h"
#include "core/document/BulkEdit.h"
#include "core/document/DerivedFrames.h"
#include "core/document/HeaderEdits.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace dorvane {

class MessageSink;
class SaveJournal;
class ProgressSink;

// One open survey: the animation file held open for reading and writing, its
// 1024-byte file header, exactly one frame in memory (the current frame) and
// the derived values of every frame. Edits change the header of the current
// frame or the file header in memory until they are saved in place. An IMG
// file opens as a one-frame survey with no file behind it.
//
// Every write of the survey (save, bulk edit, deletion) holds the file's
// exclusive advisory lock (flock) for the whole operation, and an open holds
// a shared one while it reads, so that two programs never write one survey
// at once; a survey another program is writing is refused, and one it
// changed since it was opened is not written over.
//
// Every failure an operation returns false for has been told to the user
// through the message sink; long operations report through the progress sink
// they are given (null: no progress). Only the edit functions change the
// headers in memory, and they alone set the modified flag.
class AnimationDocument
{
public:
    explicit AnimationDocument(MessageSink &messages);
    ~AnimationDocument();
    AnimationDocument(const AnimationDocument &) = delete;
    AnimationDocument &operator=(const AnimationDocument &) = delete;

    // Closes the survey: no file, no frames, zeroed headers, not modified.
    void reset();
    bool open(const std::string &path, ProgressSink *progress);
    // Opens the survey for one writing operation from start to end (the
    // batch tool's edits): the exclusive lock is taken before anything is
    // read and held until the survey is closed.
    bool openForWriting(const std::string &path, ProgressSink *progress);
    // Reads frame index into the current frame unless it is already there
    // (and force is false) or no file is open. A frame that cannot be read
    // is told as "error reading file data"; the current frame may then be
    // partly overwritten and the current index stays.
    bool loadFrame(int index, bool force);
    // Recomputes the derived values of frame index from the current frame.
    void deriveFrame(int index);
    // Derives every frame again; false at the first frame that cannot be
    // read and when the memory for the derived values cannot be had.
    bool buildDerived(ProgressSink *progress);

    // Changes the current frame's header or the file header in memory. The
    // survey becomes modified only when a byte changed; true when one did.
    bool editCurrentHeader(const FrameEdit &edit);
    bool editFileHeader(const FileHeaderEdit &edit);
    // Drops every edit since the last save: both headers return to what the
    // file holds (for an IMG file, to what it was opened with).
    void discardChanges();

    // Writes the file header and the current frame's header in place;
    // clears the modified flag on success. A failed save puts back the bytes
    // the file held.
    bool saveCurrent();
    // Copies the survey (file header from memory, every frame but skipIndex).
    bool copyAnimation(const std::string &destination, ProgressSink *progress, int skipIndex);
    // Replaces the file by a copy without the current frame. On success the
    // document is closed; the caller opens the file again.
    bool deleteCurrentFrame(ProgressSink *progress);
    // Saves pending edits, applies the edit to every frame's header on disk
    // and derives every frame again; the current frame stays current. An
    // edit that fails part way puts back the headers it changed. When the
    // survey cannot be read back it is closed.
    bool applyToFrames(const BulkEdit &edit, ProgressSink *progress);

    // Cable length of the last frame minus that of the first; 0 when either
    // header cannot be read.
    float cableSpan() const;
    int averageSediment() const { return m_derived.averageSediment(); }

    // Reads a frame straight from the file, leaving the current frame alone.
    // A query for previews: it tells the user nothing.
    bool readFrame(int index, FrameRecord &frame) const;
    bool readFrameHeader(int index, FrameHeader &header) const;

    bool isOpen() const { return m_fileHeader.isAnimation(); }
    // True while an animation file (not an IMG file) is behind the document.
    bool hasFile() const { return m_file.isOpen(); }
    // The file could only be opened for reading: saving, bulk edits,
    // deletion and edits are refused ("the file is read-only").
    bool isReadOnly() const { return m_readOnly; }
    // Edits of this survey can be saved.
    bool isWritable() const { return hasFile() && !m_readOnly; }
    const std::string &path() const { return m_path; }
    int frameCount() const { return m_frameCount; }
    // The bytes after the last whole frame (a recording cut off part way),
    // which are neither shown nor copied.
    uint64_t trailingBytes() const { return m_trailingBytes; }
    int currentIndex() const { return m_currentIndex; }
    bool isModified() const { return m_modified; }
    // True when another program changed or replaced the survey's file since
    // this document last read or wrote it.
    bool changedOnDisk() const;

    const FrameRecord &current() const { return *m_current; }
    const AnimationFileHeader &fileHeader() const { return m_fileHeader; }
    const DerivedFrames &derived() const { return m_derived; }

private:
    // The headers as the file holds them, for discarding edits.
    void rememberStoredHeaders();
    bool openImg(const std::string &path, ProgressSink *progress);
    // buildDerived() without catching what the standard library throws.
    bool deriveAllFrames(ProgressSink *progress);
    // Tells the user and returns false when no animation file is behind the
    // document (nothing open, or an IMG file).
    bool requireFile();
    bool requireWritableFile();
    bool refuseReadOnlyEdit();
    // Opens for reading and writing, or for reading only when writing is
    // refused.
    bool openFile(const std::string &path);
    bool isSameFileAsOpen(const std::string &path) const;

    // Size and modification time of the open file, and which file it is.
    struct FileStamp
    {
        uint64_t device = 0, inode = 0, size = 0;
        int64_t seconds = 0, nanoseconds = 0;
        bool operator==(const FileStamp &) const = default;
    };
    std::optional<FileStamp> stampNow() const;
    // Settles a journal left beside the survey, under its exclusive lock.
    bool settleJournal(const std::string &path);
    // Takes the lock, waiting a moment for another program's short save;
    // false (and told) while another program keeps it.
    bool lock(bool exclusive);
    // Takes the survey's exclusive lock and checks that nobody changed it
    // since this document last saw it; tells the user and returns false
    // otherwise.
    bool beginWrite();
    // Notes the file as this document left it and releases the lock.
    void endWrite();
    // Writes the journal's edit over the survey, with the bytes it replaces
    // kept beside the survey until the survey is synced; a failed write is
    // taken back at once, one cut off by a kill at the next open. written
    // is told after each range. 0 when done, else the system's reason (-1:
    // already told).
    int writeInPlace(const SaveJournal &journal, const std::function<void(size_t)> &written = {});

    MessageSink &m_messages;
    AnimationFile m_file;
    std::unique_ptr<FrameRecord> m_current;
    AnimationFileHeader m_fileHeader;
    FrameHeader m_storedHeader;
    AnimationFileHeader m_storedFileHeader;
    std::string m_path;
    std::string m_journalPath;
    FileStamp m_stamp;
    int m_writeDepth = 0;
    bool m_openForWriting = false;
    int m_frameCount = 0;
    uint64_t m_trailingBytes = 0;
    int m_currentIndex = -1;
    bool m_modified = false;
    bool m_readOnly = false;
    DerivedFrames m_derived;
};

} // namespace dorvane
