#include "core/acquire/LiveRecorder.h"

#include "core/acquire/DeviceLink.h"
#include "core/app/TextIds.h"
#include "core/base/MessageSink.h"
#include "core/data/AnimationFile.h"
#include "core/data/FrameRecord.h"
#include "core/display/PictureGeometry.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace dorvane {

namespace {
constexpr uint16_t LiveErrorRate = 20;
} // namespace

LiveRecorder &LiveRecorder::instance()
{
    // Never destroyed: the device thread may call in until the very end.
    static LiveRecorder *const recorder = new LiveRecorder;
    return *recorder;
}

LiveRecorder::LiveRecorder() : m_record(std::make_unique<std::array<uint8_t, FrameRecord::Size>>())
{
    resetTemplateLocked();
}

void LiveRecorder::setListener(Listener *listener)
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_listenerCalls == 0; });
    if (listener == m_listener)
        return;
    m_listener = listener;
    // The former listener will not answer.
    m_handOverPending = false;
    m_changed.notify_all();
}

void LiveRecorder::setDetectRadius(uint16_t millimetres)
{
    m_detectRadius = millimetres;
}

void LiveRecorder::setPipeRadius(uint16_t millimetres)
{
    m_pipeRadius = millimetres;
}

uint16_t LiveRecorder::detectRadius() const
{
    return m_detectRadius;
}

uint16_t LiveRecorder::pipeRadius() const
{
    return m_pipeRadius;
}

void LiveRecorder::resetTemplate()
{
    std::lock_guard lock(m_mutex);
    resetTemplateLocked();
}

void LiveRecorder::resetTemplateLocked()
{
    m_template = FrameHeader{};
    m_template.signature = FrameHeader::Signature;
    m_template.errorRate = LiveErrorRate;
    m_template.circleX = PictureCentre.x;
    m_template.circleY = PictureCentre.y;
}

bool LiveRecorder::start(const std::string &path, MessageSink &messages, int frameLimit)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_file.isOpen())
            return false;
    }
    // A stream left running by a failed recording ends first.
    stop(messages);

    {
        std::lock_guard lock(m_mutex);
        // A survey another program is changing is not cut short under it:
        // the file is locked before it is emptied.
        PosixFile file;
        if (!file.open(path, PosixFile::Mode::Replace)) {
            messages.showMessage(text::CreateFileFailed, systemErrorText(file.lastError()));
            return false;
        }
        if (!file.tryLock(true) && file.lastError() == EWOULDBLOCK) {
            messages.showMessage(text::BeingChangedElsewhere, path);
            return false;
        }
        if (file.size().value_or(1) > 0 && !file.truncate(0)) {
            messages.showMessage(text::CreateFileFailed, systemErrorText(file.lastError()));
            return false;
        }
        const AnimationFileHeader fileHeader = AnimationFileHeader::newAnimation();
        if (!file.write(fileHeader.bytes().data(), fileHeader.bytes().size())) {
            const int error = file.lastError();
            file.close();
            ::unlink(path.c_str());
            messages.showMessage(text::SaveFileFailed, systemErrorText(error));
            return false;
        }
        m_file = std::move(file);
        m_path = path;
        m_fileHeader = fileHeader;
        resetTemplateLocked();
        m_frameCount = 0;
        m_frameLimit = frameLimit;
        m_failures.clear();
        m_recording = true;
        m_streaming = true;
        m_unfinished = true;
    }
    if (DeviceLink::instance().startStream(&LiveRecorder::onProbeFrame))
        return true;

    std::lock_guard lock(m_mutex);
    m_file.close();
    ::unlink(path.c_str());
    m_recording = false;
    m_streaming = false;
    m_unfinished = false;
    messages.showMessage(text::DeviceLibraryMissing);
    return false;
}

bool LiveRecorder::stop(MessageSink &messages)
{
    bool streaming;
    bool unfinished;
    bool empty;
    std::string path;
    std::vector<FileFailure> failures;
    {
        std::lock_guard lock(m_mutex);
        if (m_file.isOpen()) {
            const bool synced = m_file.sync();
            const int syncError = m_file.lastError();
            const bool closed = m_file.close();
            if (!synced || !closed)
                m_failures.push_back(
                    {text::SaveFileFailed, synced ? m_file.lastError() : syncError});
        }
        m_recording = false;
        streaming = std::exchange(m_streaming, false);
        unfinished = std::exchange(m_unfinished, false);
        empty = m_frameCount == 0;
        path = m_path;
        failures = std::exchange(m_failures, {});
        // Nothing the device thread waits for is coming now.
        m_handOverPending = false;
        m_changed.notify_all();
    }
    // Only now: the device thread no longer waits for this one.
    if (streaming)
        DeviceLink::instance().stopStream();
    if (!unfinished)
        return true;
    endFile(messages, path, empty, failures);
    return failures.empty() && !empty;
}

void LiveRecorder::endFile(MessageSink &messages, const std::string &path, bool empty,
                           const std::vector<FileFailure> &failures)
{
    for (const FileFailure &failure : failures)
        messages.showMessage(failure.textId, systemErrorText(failure.error));
    if (!empty)
        return;
    // A file header alone is no survey: nothing could open it.
    if (::unlink(path.c_str()) == 0)
        messages.showMessage(text::NothingRecorded);
    else
        messages.showMessage(text::EmptyRecordingLeft, systemErrorText(errno));
}

bool LiveRecorder::isRecording() const
{
    return m_recording;
}

bool LiveRecorder::isStreaming() const
{
    std::lock_guard lock(m_mutex);
    return m_streaming;
}

int LiveRecorder::frameCount() const
{
    return m_frameCount;
}

std::string LiveRecorder::path() const
{
    std::lock_guard lock(m_mutex);
    return m_path;
}

void LiveRecorder::holdHandOvers()
{
    std::lock_guard lock(m_mutex);
    ++m_handOversHeld;
    m_handOverPending = false;
    m_changed.notify_all();
}

void LiveRecorder::resumeHandOvers()
{
    std::lock_guard lock(m_mutex);
    if (m_handOversHeld > 0)
        --m_handOversHeld;
}

int LiveRecorder::onProbeFrame(unsigned char *samples)
{
    instance().recordFrame(samples);
    return 0;
}

template<typename Call>
void LiveRecorder::callListener(std::unique_lock<std::mutex> &lock, Call call)
{
    // Outside the lock, so that the listener's own locks never nest in ours;
    // setListener waits until the call is over.
    Listener *const listener = m_listener;
    ++m_listenerCalls;
    lock.unlock();
    call(*listener);
    lock.lock();
    --m_listenerCalls;
    m_changed.notify_all();
}

void LiveRecorder::recordFrame(const uint8_t *samples)
{
    if (!m_recording)
        return;
    ProbeStatus status;
    DeviceLink::instance().copyStatus(status.bytes);
    if (!status.hasMarker())
        return;

    std::unique_lock lock(m_mutex);
    // A window still showing the last record (the recording it belonged to
    // was stopped meanwhile) reads it until it is done.
    m_changed.wait(lock, [this] { return !m_showing || !m_file.isOpen(); });
    if (!m_file.isOpen() || (m_frameLimit > 0 && m_frameCount >= m_frameLimit))
        return;
    uint8_t *const record = m_record->data();
    m_template.tilt = probeAngle(status.tiltCount());
    m_template.roll = probeAngle(status.rollCount());
    m_template.detectRadius = m_detectRadius;
    m_template.pipeRadius = m_pipeRadius;
    m_template.cableLength = status.distanceMetres();
    m_template.encode(std::span<uint8_t, FrameHeader::Size>(record, FrameHeader::Size));
    std::memcpy(record + FrameHeader::Size, samples, SampleCount);
    if (!m_file.write(record, FrameRecord::Size)) {
        failLocked(lock);
        return;
    }
    ++m_frameCount;
    m_lastStatus = status;

    if (!m_listener || m_handOversHeld > 0)
        return;
    m_handOverPending = true;
    callListener(lock, [](Listener &listener) { listener.frameRecorded(); });
    // The samples stay valid until the window has shown them.
    m_changed.wait(lock, [this] { return !m_handOverPending; });
}

void LiveRecorder::failLocked(std::unique_lock<std::mutex> &lock)
{
    m_failures.push_back({text::SaveFileFailed, m_file.lastError()});
    // Back to the last whole frame, so that the file stays a valid survey,
    // and onto the disk.
    const bool cut = m_file.truncate(frameOffset(m_frameCount)) && m_file.sync();
    const int cutError = m_file.lastError();
    const bool closed = m_file.close();
    if (!cut || !closed)
        m_failures.push_back({text::RecordingNotCutBack, cut ? m_file.lastError() : cutError});
    m_recording = false;
    if (m_listener)
        callListener(lock, [](Listener &listener) { listener.recordingFailed(); });
}

void LiveRecorder::finishHandOver(const std::function<void(const LiveFrame &)> &show)
{
    std::unique_lock lock(m_mutex);
    if (!m_handOverPending || m_showing)
        return;
    m_showing = true;
    // Copies, so that nothing is read under the device thread's hands; the
    // record stays put until the hand-over ends. The header is the one in
    // the record: the template may have been reset since it was written.
    const FrameHeader header = FrameHeader::decode(
        std::span<const uint8_t, FrameHeader::Size>(m_record->data(), FrameHeader::Size));
    const ProbeStatus status = m_lastStatus;
    const AnimationFileHeader fileHeader = m_fileHeader;
    const LiveFrame frame{header, m_record->data() + FrameHeader::Size, status, fileHeader,
                          m_frameCount};
    lock.unlock();
    show(frame);
    lock.lock();
    // A new hand-over cannot have begun meanwhile: the device thread waits
    // while the window shows.
    m_showing = false;
    m_handOverPending = false;
    m_changed.notify_all();
}

} // namespace dorvane
