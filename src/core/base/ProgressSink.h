#pragma once

namespace dorvane {

// Receives the progress of long operations. An operation over N items posts
// (0, N) first, (i, N) after item i, (1, 1) once complete and (-1, -1) at the
// end whether it succeeded or not. A done value of 0 or less hides the
// progress window.
class ProgressSink
{
public:
    virtual ~ProgressSink() = default;
    virtual void postProgress(int done, int total) = 0;
    // The line of text that says what is going on; fetched by its id.
    virtual void setProgressText(int textId) { (void)textId; }
};

// Keeps the progress protocol of one operation: (0, N) on construction,
// (-1, -1) on destruction, so the end is posted on every path out. A null
// sink shows no progress.
class ProgressScope
{
public:
    ProgressScope(ProgressSink *sink, int total) : m_sink(sink) { post(0, total); }
    ~ProgressScope() { post(-1, -1); }
    ProgressScope(const ProgressScope &) = delete;
    ProgressScope &operator=(const ProgressScope &) = delete;

    void step(int done, int total) { post(done, total); }
    void setText(int textId)
    {
        if (m_sink)
            m_sink->setProgressText(textId);
    }
    void complete() { post(1, 1); }

private:
    void post(int done, int total)
    {
        if (m_sink)
            m_sink->postProgress(done, total);
    }

    ProgressSink *m_sink;
};

} // namespace dorvane
