#include "FaultRun.h"
#include "core/acquire/ImgImport.h"
#include "core/acquire/SurveySimulator.h"
#include "core/app/Settings.h"
#include "core/app/TextIds.h"
#include "core/display/DibBlock.h"
#include "core/document/AnimationDocument.h"
#include "core/export/AviMovieWriter.h"
#include "core/export/BmpFile.h"
#include "core/export/DocxPackage.h"
#include "core/export/OfficeConverter.h"
#include "core/export/WholeFile.h"
#include "support/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace dorvane::test {

namespace {

const std::vector<Fault> Failures = {Fault::NoSpace, Fault::IoError, Fault::Denied,
                                     Fault::ShortWrite};

// Passes the document's messages on to the sink of the run in progress.
class ForwardingSink final : public MessageSink
{
public:
    Answer ask(int textId, Buttons buttons) override
    {
        return target ? target->ask(textId, buttons) : Answer::Cancel;
    }
    MessageSink *target = nullptr;

private:
    void deliver(int textId, std::string_view detail) override
    {
        if (target)
            target->showMessage(textId, detail);
    }
};

// A survey of three frames, open, with frame 1 current.
class OpenSurvey : public Scenario
{
public:
    void prepare(const std::string &folder) override
    {
        m_folder = folder;
        writeSurvey(folder + "/survey.imv", 3);
        ASSERT_TRUE(m_document.open(folder + "/survey.imv", nullptr));
        ASSERT_TRUE(m_document.loadFrame(1, false));
    }
    bool run(MessageSink &messages) override
    {
        m_sink.target = &messages;
        const bool ok = runOn(m_document);
        m_sink.target = nullptr;
        return ok;
    }

protected:
    virtual bool runOn(AnimationDocument &document) = 0;
    const std::string &folder() const { return m_folder; }

private:
    ForwardingSink m_sink;
    AnimationDocument m_document{m_sink};
    std::string m_folder;
};

class SaveHeaders final : public OpenSurvey
{
    bool runOn(AnimationDocument &document) override
    {
        document.editCurrentHeader([](FrameHeader &h) { h.pipeRadius = 321; });
        document.editFileHeader([](AnimationFileHeader &h) { h.setPlace("North Quay"); });
        return document.saveCurrent();
    }
};

class BulkErrorRate final : public OpenSurvey
{
    bool runOn(AnimationDocument &document) override
    {
        BulkEdit edit;
        edit.kind = BulkEditKind::ErrorRate;
        edit.value = 7;
        return document.applyToFrames(edit, nullptr);
    }
};

class DeleteFrame final : public OpenSurvey
{
    bool runOn(AnimationDocument &document) override
    {
        return document.deleteCurrentFrame(nullptr);
    }
};

class SaveAs final : public OpenSurvey
{
    void prepare(const std::string &folder) override
    {
        OpenSurvey::prepare(folder);
        writeSurvey(folder + "/copy.imv", 2, 5);
    }
    bool runOn(AnimationDocument &document) override
    {
        return document.copyAnimation(folder() + "/copy.imv", nullptr, -1);
    }
};

class ImportImg final : public Scenario
{
    void prepare(const std::string &folder) override
    {
        m_folder = folder;
        writeFileBytes(folder + "/a.img", makeImgFile(400, 1.5f, 9));
        writeFileBytes(folder + "/b.img", makeImgFile(400, 2.5f, 11));
    }
    bool run(MessageSink &messages) override
    {
        return importImgFiles({m_folder + "/a.img", m_folder + "/b.img"},
                              AnimationFileHeader::newAnimation(), m_folder + "/out.imv", nullptr,
                              messages);
    }
    std::string m_folder;
};

class Simulate final : public Scenario
{
    void prepare(const std::string &folder) override { m_folder = folder; }
    bool run(MessageSink &messages) override
    {
        SurveySimulator::Options options;
        options.seed = 3;
        return writeSimulatedSurvey(m_folder + "/sim.imv", SurveySimulator(options), 2, nullptr,
                                    messages);
    }
    std::string m_folder;
};

class Picture final : public Scenario
{
    void prepare(const std::string &folder) override
    {
        m_folder = folder;
        writeFileBytes(folder + "/shot.bmp", {'B', 'M', 1, 2, 3});
    }
    bool run(MessageSink &) override
    {
        DibBlock dib(8, 8, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                dib.row(y)[x] = static_cast<uint8_t>(x * 8 + y);
        return writeBmpFile(m_folder + "/shot.bmp", dib);
    }
    std::string m_folder;
};

class SaveSettings final : public Scenario
{
    void prepare(const std::string &folder) override
    {
        m_folder = folder;
        writeFileBytes(folder + "/config.dat",
                       {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0});
    }
    bool run(MessageSink &) override
    {
        Settings s;
        s.playRate = 8;
        s.showTitle = 1;
        s.language = 2;
        return s.save(m_folder + "/config.dat");
    }
    std::string m_folder;
};

class Report final : public Scenario
{
    void prepare(const std::string &folder) override
    {
        m_folder = folder;
        writeFileBytes(folder + "/report.docx", {'P', 'K'});
    }
    bool run(MessageSink &) override
    {
        DocxPackage package;
        package.setPart("[Content_Types].xml", "<Types/>");
        package.setPart("word/document.xml", std::string(3000, 'w'));
        const auto bytes = package.archive();
        int error = 0;
        return bytes && writeWholeFile(m_folder + "/report.docx", *bytes, error);
    }
    std::string m_folder;
};

// Through the writer, whose encoding thread does the writes.
class Movie final : public Scenario
{
    void prepare(const std::string &folder) override { m_folder = folder; }
    bool run(MessageSink &) override
    {
        AviMovieWriter writer(m_folder + "/movie.avi", fourCharacterCode("Xvid"), 4);
        std::vector<uint8_t> bits(32 * 32 * 3);
        for (size_t i = 0; i < bits.size(); ++i)
            bits[i] = static_cast<uint8_t>(i * 7);
        const bool appended =
            writer.appendFrameBits(32, 32, bits.data(), 24) == AviMovieWriter::Succeeded &&
            writer.appendFrameBits(32, 32, bits.data(), 24) == AviMovieWriter::Succeeded;
        return writer.release() && appended;
    }
    std::string m_folder;
};

// The converter is a stand-in for LibreOffice that writes a small PDF where
// it is told to: the destination is what is tested here.
class Convert final : public Scenario
{
    void prepare(const std::string &folder) override
    {
        m_folder = folder;
        const std::string script = "#!/bin/sh\n"
                                   "while [ $# -gt 0 ]; do\n"
                                   "  [ \"$1\" = --outdir ] && out=$2\n"
                                   "  shift\n"
                                   "done\n"
                                   "mkdir -p \"$out\" && printf '%%PDF-1.4 converted\\n' > "
                                   "\"$out/report.pdf\"\n";
        writeFileBytes(m_tools.file("soffice"), std::vector<uint8_t>(script.begin(), script.end()));
        std::filesystem::permissions(m_tools.file("soffice"), std::filesystem::perms::owner_all);
        writeFileBytes(folder + "/report.pdf", {'%', 'P', 'D', 'F', '-', '1', '.', '0'});
    }
    bool run(MessageSink &) override
    {
        int error = 0;
        return OfficeConverter(m_tools.file("soffice"))
            .convert({'P', 'K', 3, 4}, ReportFormat::Pdf, m_folder + "/report.pdf", error);
    }
    TempDir m_tools;
    std::string m_folder;
};

// The program started again after a kill, opening the survey it was editing.
void reopenSurvey(const std::string &folder, MessageSink &messages)
{
    AnimationDocument document(messages);
    document.open(folder + "/survey.imv", nullptr);
}

template<typename T>
WritePath pathOf(const std::string &name, bool inPlace, bool tellsUser, bool givesReason = false)
{
    WritePath path;
    path.name = name;
    path.make = [] { return std::make_unique<T>(); };
    path.inPlace = inPlace;
    path.tellsUser = tellsUser;
    path.givesReason = givesReason;
    if (inPlace)
        path.reopen = reopenSurvey;
    return path;
}

// The checks every run must pass; see runWithFault.
void check(const WritePath &path, const RunResult &r)
{
    const std::string where =
        path.name + " #" + std::to_string(r.failAt) + " " + r.operation + " " + faultName(r.fault);
    for (const auto &[name, state] : r.files)
        EXPECT_NE(state, "partial") << where << ": " << name;
    if (r.fault == Fault::Kill) {
        // Opening the survey again settles the journal of an edit in place.
        for (const auto &name : r.leftovers)
            EXPECT_FALSE(name.ends_with(".undo")) << where << ": " << name;
        return;
    }
    EXPECT_EQ(r.leftovers, std::vector<std::string>{}) << where;
    if (!r.returned && path.tellsUser) {
        EXPECT_FALSE(r.messages.empty()) << where;
    }
    // A full disk, a refusal and a failing disk read differently.
    const std::map<Fault, std::string> reasons = {{Fault::NoSpace, "No space left on device"},
                                                  {Fault::Denied, "Permission denied"},
                                                  {Fault::IoError, "Input/output error"}};
    if (!r.returned && path.givesReason && reasons.contains(r.fault)) {
        EXPECT_EQ(r.details, std::vector<std::string>{reasons.at(r.fault)}) << where;
    }
    if (r.fault == Fault::RemoveFirst)
        return;
    if (r.returned) {
        // A deletion whose folder could not be synced after the rename is
        // done, and says so with a text.
        for (const auto &[name, state] : r.files)
            EXPECT_NE(state, "absent") << where << ": " << name;
    } else if (path.inPlace) {
        for (const auto &[name, state] : r.files)
            EXPECT_EQ(state, "before") << where << ": " << name;
    }
}

void exercise(const WritePath &path, const std::vector<std::string> &expectedOperations,
              std::vector<Fault> faults = {})
{
    const auto operations = countOperations(path);
    ASSERT_EQ(operations, expectedOperations);
    const int n = static_cast<int>(operations.size());
    if (faults.empty()) {
        faults = Failures;
        faults.push_back(Fault::RemoveFirst);
        faults.push_back(Fault::Kill);
    }
    for (const Fault fault : faults) {
        for (int k = 1; k <= n; ++k) {
            const RunResult r = runWithFault(path, k, fault);
            check(path, r);
            if (fault == Fault::Kill) {
                EXPECT_TRUE(r.killed) << path.name << " #" << k;
            }
            recordRow(path.name, r);
        }
    }
}

// The existing destination opened for its lock (unless the caller holds
// it), the temporary file taking its mode, the writes, then the rename, the
// folder's sync and the lock's release.
std::vector<std::string> atomicReplacing(int writes, bool callerHoldsLock = false)
{
    std::vector<std::string> ops = {"open", "fchmod"};
    ops.insert(ops.end(), static_cast<size_t>(writes), "write");
    ops.insert(ops.end(), {"fsync", "close", "rename", "open", "fsync", "close"});
    if (!callerHoldsLock) {
        ops.insert(ops.begin(), "open");
        ops.push_back("close");
    }
    return ops;
}

std::vector<std::string> atomicNew(int writes)
{
    std::vector<std::string> ops = atomicReplacing(writes, true);
    ops.erase(ops.begin() + 1);
    return ops;
}

// An edit in place: the journal of the bytes it replaces, the writes, then
// the survey's sync.
std::vector<std::string> journaled(int writes)
{
    std::vector<std::string> ops = atomicNew(1);
    ops.insert(ops.end(), static_cast<size_t>(writes), "pwrite");
    ops.push_back("fsync");
    return ops;
}

std::vector<std::string> joined(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> ops;
    for (const auto &part : parts)
        ops.insert(ops.end(), part.begin(), part.end());
    return ops;
}

} // namespace

TEST(WriteFaults, SavingHeadersInPlaceLeavesTheOriginalOnFailure)
{
    exercise(pathOf<SaveHeaders>("save headers", true, true, true), journaled(2));
}

TEST(WriteFaults, BulkEditLeavesTheOriginalOnFailure)
{
    // The pending edits saved first (file header, current frame), then the
    // three frames' headers.
    exercise(pathOf<BulkErrorRate>("bulk edit", true, true, true),
             joined({journaled(2), journaled(3)}));
}

// With the reads counted too, a survey that cannot be read while it is
// edited or copied is left as it was or edited whole, and the user is told.
// A bulk edit reads the frames back after writing: a read failing there
// leaves the survey edited throughout and closes it.
TEST(WriteFaults, ReadFailuresLeaveTheSurveyWholeAndAreTold)
{
    auto save = pathOf<SaveHeaders>("save headers, reads", false, true);
    save.withReads = true;
    exercise(save, joined({{"pread", "pread"}, journaled(2)}), {Fault::IoError});

    auto bulk = pathOf<BulkErrorRate>("bulk edit, reads", false, true);
    bulk.withReads = true;
    // The pending edits saved, the current frame read again, each frame's
    // header read, then all written, then every frame derived in one read
    // and the current frame read again.
    exercise(bulk,
             joined({{"pread", "pread"},
                     journaled(2),
                     {"pread", "pread", "pread", "pread", "pread"},
                     journaled(3),
                     {"pread", "pread", "pread"}}),
             {Fault::IoError});

    auto copy = pathOf<SaveAs>("save as, reads", false, true);
    copy.withReads = true;
    exercise(copy,
             {"open", "open", "fchmod", "write", "pread", "write", "pread", "write", "pread",
              "write", "fsync", "close", "rename", "open", "fsync", "close", "close"},
             {Fault::IoError});
}

TEST(WriteFaults, DeletingAFrameReplacesTheSurveyWholeOrNotAtAll)
{
    // The copy without frame 1 replaces the survey, whose old file is closed.
    auto operations = atomicReplacing(3, true);
    operations.push_back("close");
    exercise(pathOf<DeleteFrame>("delete frame", false, true, true), operations);
}

TEST(WriteFaults, SaveAsReplacesThePreviousFileWholeOrNotAtAll)
{
    exercise(pathOf<SaveAs>("save as", false, true, true), atomicReplacing(4));
}

TEST(WriteFaults, ImgImportAppearsWholeOrNotAtAll)
{
    // Each IMG file is opened and closed again between the writes.
    exercise(pathOf<ImportImg>("IMG import", false, true),
             {"open", "write", "open", "close", "write", "write", "open", "close", "write", "write",
              "fsync", "close", "rename", "open", "fsync", "close"});
}

TEST(WriteFaults, SimulatedSurveyAppearsWholeOrNotAtAll)
{
    exercise(pathOf<Simulate>("simulated survey", false, true), atomicNew(5));
}

TEST(WriteFaults, PictureReplacesThePreviousOneWholeOrNotAtAll)
{
    exercise(pathOf<Picture>("BMP picture", false, false), atomicReplacing(2));
}

TEST(WriteFaults, SettingsReplaceThePreviousOnesWholeOrNotAtAll)
{
    exercise(pathOf<SaveSettings>("settings", false, false), atomicReplacing(1));
}

TEST(WriteFaults, ReportReplacesThePreviousOneWholeOrNotAtAll)
{
    // The archive carries the time it was made: two versions hold the same
    // when both read back whole with the same parts.
    WritePath path = pathOf<Report>("report package", false, false);
    path.sameContent = [](const std::vector<uint8_t> &a, const std::vector<uint8_t> &b) {
        if (a == b)
            return true;
        if (a.size() != b.size())
            return false;
        TempDir dir;
        writeFileBytes(dir.file("a.docx"), a);
        writeFileBytes(dir.file("b.docx"), b);
        DocxPackage x;
        DocxPackage y;
        if (!x.read(dir.file("a.docx")) || !y.read(dir.file("b.docx")))
            return false;
        for (const char *name : {"[Content_Types].xml", "word/document.xml"}) {
            const std::string *p = x.part(name);
            const std::string *q = y.part(name);
            if (!p || !q || *p != *q)
                return false;
        }
        return true;
    };
    exercise(path, atomicReplacing(1));
}

TEST(WriteFaults, ConvertedReportReplacesThePreviousOneWholeOrNotAtAll)
{
    exercise(pathOf<Convert>("converted report", false, false), atomicReplacing(1));
}

TEST(WriteFaults, MovieAppearsWholeOrNotAtAll)
{
    // FFmpeg writes the file in nine pieces, going back for the headers.
    exercise(pathOf<Movie>("movie", false, false),
             {"open", "pwrite", "pwrite", "pwrite", "pwrite", "pwrite", "pwrite", "pwrite",
              "pwrite", "pwrite", "fsync", "close", "rename", "open", "fsync", "close"});
}

} // namespace dorvane::test
