#include "CliRunner.h"
#include "core/base/ByteOrder.h"
#include "core/document/AnimationDocument.h"

#include <limits>
#include <nlohmann/json.hpp>
#include <sstream>

using namespace dorvane;
using namespace dorvane::test;

namespace {

class CliDocument : public Cli
{
protected:
    void SetUp() override
    {
        path = dir.file("s.Imv");
        ASSERT_EQ(run({"simulate", "-o", path, "--frames", "40", "--seed", "2"}).status, 0);
        SilentMessageSink silent;
        AnimationDocument doc(silent);
        ASSERT_TRUE(doc.open(path, nullptr));
        permille = doc.derived().sedimentPermille();
        depth = doc.derived().sedimentDepth();
        average = doc.averageSediment();
    }

    std::string path;
    std::vector<int32_t> permille, depth;
    int average = 0;
};

uint16_t storedU16(const std::vector<uint8_t> &file, int frame, size_t offset)
{
    return le::readU16(&file[1024 + static_cast<size_t>(frame) * 100512 + offset]);
}

} // namespace

TEST_F(CliDocument, FramesCarryTheSedimentOfEveryFrame)
{
    const CliRun r = run({"frames", path});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 41u);
    int silted = 0;
    for (size_t i = 0; i < 40; ++i) {
        const std::string tail = "," + std::to_string(permille[i]) + "," + std::to_string(depth[i]);
        ASSERT_EQ(rows[i + 1].substr(rows[i + 1].size() - tail.size()), tail) << rows[i + 1];
        silted += permille[i] > 0;
    }
    EXPECT_GT(silted, 0);
    EXPECT_EQ(lines(run({"info", path}).out)[5],
              "average_sediment_permille: " + std::to_string(average));
}

TEST_F(CliDocument, JsonListsTheSameTable)
{
    const CliRun csv = run({"frames", path});
    const CliRun json = run({"frames", path, "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const auto rows = lines(json.out);
    ASSERT_EQ(rows.size(), 42u); // [, 40 objects, ]
    EXPECT_EQ(rows.front(), "[");
    EXPECT_EQ(rows.back(), "]");
    // Same keys and values as the CSV, as "key": value pairs.
    const auto keys = lines(csv.out)[0];
    const auto values = lines(csv.out)[8];
    std::string expected = "  {";
    size_t k0 = 0, v0 = 0;
    for (int field = 0; field < 15; ++field) {
        const size_t k1 = keys.find(',', k0), v1 = values.find(',', v0);
        expected += (field ? ", \"" : "\"") + keys.substr(k0, k1 - k0) +
                    "\": " + values.substr(v0, v1 - v0);
        k0 = k1 + 1;
        v0 = v1 + 1;
    }
    EXPECT_EQ(rows[8], expected + "},");
}

TEST_F(CliDocument, JsonHasNullWhereAHeaderHoldsNoNumber)
{
    {
        SilentMessageSink silent;
        AnimationFile file;
        ASSERT_TRUE(file.open(path));
        FrameHeader h;
        ASSERT_TRUE(file.readFrameHeader(3, h));
        h.cableLength = std::numeric_limits<float>::quiet_NaN();
        h.tilt = std::numeric_limits<float>::infinity();
        h.roll = -std::numeric_limits<float>::infinity();
        ASSERT_TRUE(file.writeFrameHeader(3, h, silent));
    }
    const CliRun r = run({"frames", path, "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 42u);
    EXPECT_EQ(rows[4].rfind("  {\"index\": 3, \"cable_m\": null, \"tilt\": null, \"roll\": null, "
                            "\"detect_mm\": 1000, \"pipe_mm\": 600, \"error_pct\": 10, ",
                            0),
              0u)
        << rows[4];
    // JSON has no words for these numbers anywhere.
    for (const char *word : {"nan", "inf", "NAN", "INF"})
        EXPECT_EQ(r.out.find(word), std::string::npos) << word;
}

TEST_F(CliDocument, ProfilePrintsTheRadiusProfile)
{
    const CliRun r = run({"profile", path, "--frame", "12"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto rows = lines(r.out);
    ASSERT_EQ(rows.size(), 402u);
    EXPECT_EQ(rows[400], "150"); // 600 mm of 1000 mm: 150 pixels
    EXPECT_EQ(rows[401], "10");
    EXPECT_EQ(run({"profile", path, "--frame", "40"}).status, 2);
}

TEST_F(CliDocument, ApplyEditsTheHeadersOnDisk)
{
    CliRun r = run(
        {"apply", path, "--kind", "302", "--value", "30", "--circle", "255,245", "--frame", "30"});
    ASSERT_EQ(r.status, 0) << r.err;
    r = run({"apply", path, "--kind", "2", "--value", "25"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto file = readFileBytes(path);
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(storedU16(file, i, 12), 25); // error rate
        EXPECT_EQ(file[1024 + static_cast<size_t>(i) * 100512 + 310], i >= 30 ? 1 : 0);
        EXPECT_EQ(storedU16(file, i, 304), i >= 30 ? 255 : 250);
        EXPECT_EQ(storedU16(file, i, 306), i >= 30 ? 245 : 250);
    }
    EXPECT_EQ(run({"apply", path, "--kind", "1"}).status, 2);
    EXPECT_EQ(run({"apply", path, "--kind", "-1", "--value", "9"}).status, 2);
    EXPECT_EQ(run({"apply", path, "--kind", "65536", "--value", "9"}).status, 2);
    EXPECT_EQ(run({"apply", path, "--kind", "1", "--value", "9", "--circle", "600,1"}).status, 2);
}

TEST_F(CliDocument, ApplyTakesTheKindsByNumber)
{
    ASSERT_EQ(run({"apply", path, "--kind", "1", "--value", "450"}).status, 0);
    ASSERT_EQ(run({"apply", path, "--kind", "0", "--value", "1"}).status, 0);
    ASSERT_EQ(run({"apply", path, "--kind", "301", "--value", "4", "--circle", "240,260"}).status,
              0);
    const auto file = readFileBytes(path);
    for (int i = 0; i < 40; ++i) {
        // Frame 0 is shown, so the circle takes its pipe radius of 450 mm.
        EXPECT_EQ(storedU16(file, i, 8), 450);                          // pipe radius
        EXPECT_EQ(file[1024 + static_cast<size_t>(i) * 100512 + 3], 1); // report mark
        EXPECT_EQ(file[1024 + static_cast<size_t>(i) * 100512 + 310], i <= 4 ? 1 : 0);
        EXPECT_EQ(storedU16(file, i, 304), i <= 4 ? 240 : 250);
    }

    // A number that names no kind is saved back unchanged.
    const CliRun r = run({"apply", path, "--kind", "77", "--value", "1"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFileBytes(path), file);
}

TEST_F(CliDocument, DeleteFrameAndCopy)
{
    const auto before = readFileBytes(path);
    CliRun r = run({"delete-frame", path, "--frame", "39"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(lines(run({"info", path}).out)[0], "frames: 39");
    EXPECT_EQ(readFileBytes(path), std::vector<uint8_t>(before.begin(), before.end() - 100512));

    r = run({"copy", path, dir.file("copy.Imv")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFileBytes(dir.file("copy.Imv")), readFileBytes(path));

    r = run({"copy", path, path});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "不能将数据另存到当前打开的动画文件\n");
    EXPECT_EQ(lines(run({"info", path}).out)[0], "frames: 39");
}

TEST_F(CliDocument, ImgFilesRefuseEveryEdit)
{
    const std::string img = dir.file("probe.img");
    writeFileBytes(img, makeImgFile(1000, 2.5f, 60));
    const std::string refusal = "当前数据来自IMG文件，没有可写入的动画文件\n";
    for (const std::vector<std::string> &command :
         {std::vector<std::string>{"apply", img, "--kind", "0", "--value", "1"},
          std::vector<std::string>{"delete-frame", img, "--frame", "0"},
          std::vector<std::string>{"copy", img, dir.file("out.Imv")}}) {
        const CliRun r = run(command);
        EXPECT_EQ(r.status, 1) << command[0];
        EXPECT_EQ(r.err, refusal) << command[0];
    }
    EXPECT_EQ(readFileBytes(img), makeImgFile(1000, 2.5f, 60));
    EXPECT_EQ(lines(run({"profile", img}).out).size(), 402u);
}

TEST_F(CliDocument, AssessWritesTheSameFiguresAsTextAndJson)
{
    // Deposit grades from a share of 1 %: the simulated sediment gives records.
    const std::string grades = dir.file("grades.json");
    writeFileBytes(grades, bytesOf(R"({"kinds": [
        {"kind": "deposit", "code": "CJ", "name_zh": "沉积", "name_en": "Deposit",
         "bounds": [1, 2, 40, 50], "scores": [0.5, 2, 5, 10]},
        {"kind": "deformation", "code": "BX", "name_zh": "变形", "name_en": "Deformation",
         "bounds": [3, 5, 15, 25], "scores": [1, 2, 5, 10]}]})"));
    const CliRun text = run({"assess", path, "--grades", grades, "--frames"});
    ASSERT_EQ(text.status, 0) << text.err;
    const CliRun json = run({"assess", path, "--grades", grades, "--frames", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const auto document = nlohmann::json::parse(json.out);

    const auto out = lines(text.out);
    const size_t records = document["records"].size();
    ASSERT_GT(records, 0u);
    EXPECT_EQ(out[8], "records: " + std::to_string(records));
    EXPECT_EQ(out[0], "assessed_frames: 40");
    EXPECT_EQ(document["summary"]["assessed_frames"], 40);
    const size_t frameHeader = 9 + 1 + records;
    ASSERT_EQ(out.size(), frameHeader + 1 + 40);
    EXPECT_EQ(out[frameHeader], "frame,cable_m,capacity_loss_pct,sediment_depth_pct,d_min_mm,"
                                "d_max_mm,d_mean_mm,ovality_pct,deformation_pct,deposit_grade,"
                                "deformation_grade");
    // Each record starts and ends on frames of its grade, as the rows say.
    for (const auto &record : document["records"]) {
        const int first = record["first_frame"];
        std::vector<std::string> fields;
        std::istringstream row(out[frameHeader + 1 + static_cast<size_t>(first)]);
        for (std::string field; std::getline(row, field, ',');)
            fields.push_back(field);
        const size_t column = record["kind"] == "deposit" ? 9 : 10;
        ASSERT_GT(fields.size(), column);
        EXPECT_EQ(fields[column], std::to_string(record["grade"].get<int>()));
        EXPECT_EQ(document["frames"][static_cast<size_t>(first)]["frame"], first);
    }

    writeFileBytes(grades, bytesOf(R"({"kinds": []})"));
    const CliRun refused = run({"assess", path, "--grades", grades});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "tessiq-cli: grading table refused: " + grades + ": no grading for deposit\n");
}
