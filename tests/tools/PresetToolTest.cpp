// velmora-preset: JSON export and import that keep every float bit, the byte-order and
// state-chunk conversions, and clear refusals of bad input with a non-zero exit.
#include "tests/presets/ChunkSamples.h"
#include "tests/presets/PresetRig.h"
#include "tools/preset/Commands.h"
#include "tools/preset/Contents.h"
#include "tools/preset/ContentsJson.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>

namespace velmora::testing {
namespace {

using namespace presettool;

// An effect whose values need every bit of a float: thirds, tiny and subnormal numbers.
void edit(PresetRig& effect) {
    effect.setCurrentProgram(17);
    effect.setParameter(param::Mix, 1.0f / 3.0f);
    effect.setParameter(param::Cutoff, std::numeric_limits<float>::denorm_min());
    effect.setParameter(param::Input, std::nextafter(1.0f, 0.0f));
    char name[] = "Caf\xe9 \xbd";
    effect.setProgramName(name);
    effect.setParameter(60 + param::Reso, (42 + 0.5f) / 129.0f);
}

class PresetTool : public ::testing::Test {
  protected:
    void SetUp() override {
        edit(effect);
        folder =
            std::filesystem::temp_directory_path() /
            ("velmora-preset-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string path(const std::string& name) const { return (folder / name).string(); }

    void write(const std::string& name, std::span<const std::byte> bytes) const {
        std::ofstream file(path(name), std::ios::binary);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }

    std::vector<std::byte> read(const std::string& name) const {
        std::ifstream file(path(name), std::ios::binary);
        const std::string raw{std::istreambuf_iterator<char>(file), {}};
        const auto bytes = std::as_bytes(std::span(raw.data(), raw.size()));
        return {bytes.begin(), bytes.end()};
    }

    int run(std::vector<std::string> arguments) {
        out.str({});
        err.str({});
        return runCommand(arguments, out, err);
    }

    std::vector<std::vector<std::byte>> everyKind() {
        return {effect.buildPresetChunk(), effect.buildBankChunk(), effect.buildMidiSettingsChunk(),
                effect.stateChunk()};
    }

    PresetRig effect;
    std::filesystem::path folder;
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(PresetTool, JsonExportAndImportGiveBackTheSameBytes) {
    for (const auto& original : everyKind()) {
        const auto decoded = decode(original);
        ASSERT_TRUE(decoded.contents) << decoded.error;
        const std::string json = toJsonText(*decoded.contents);
        const auto parsed = contentsFromJsonText(json);
        ASSERT_TRUE(parsed.contents) << parsed.error;
        EXPECT_EQ(encode(*parsed.contents, false), original) << json.substr(0, 40);
    }
}

TEST_F(PresetTool, ExportImportCommandsThroughFiles) {
    write("bank.qeb", effect.buildBankChunk());
    ASSERT_EQ(run({"export", path("bank.qeb"), path("bank.json")}), 0) << err.str();
    ASSERT_EQ(run({"import", path("bank.json"), path("again.qeb")}), 0) << err.str();
    EXPECT_EQ(read("again.qeb"), effect.buildBankChunk());
    ASSERT_EQ(run({"import", path("bank.json"), path("reversed.qeb"), "--reversed"}), 0);
    EXPECT_EQ(read("reversed.qeb"), reversedChunk(effect.buildBankChunk()));
    ASSERT_EQ(run({"export", path("bank.qeb")}), 0);
    EXPECT_NE(out.str().find("\"Caf\xc3\xa9 \xc2\xbd\""), std::string::npos);
}

TEST_F(PresetTool, ReverseFlipsTheByteOrderOfEveryKind) {
    const std::vector<std::vector<std::byte>> reversed = {
        reversedChunk(effect.buildPresetChunk()), reversedChunk(effect.buildBankChunk()),
        reversedChunk(effect.buildMidiSettingsChunk()), reversedState(effect.stateChunk())};
    const auto originals = everyKind();
    for (std::size_t i = 0; i < originals.size(); ++i) {
        write("in", originals[i]);
        ASSERT_EQ(run({"reverse", path("in"), path("out")}), 0) << err.str();
        EXPECT_EQ(read("out"), reversed[i]) << i;
        ASSERT_EQ(run({"reverse", path("out"), path("back")}), 0) << err.str();
        EXPECT_EQ(read("back"), originals[i]) << i;
    }
}

TEST_F(PresetTool, OlderLayoutsConvertToTheCurrentOne) {
    LegacyFile older(chunk::kLegacyPresetType, true);
    older.name("Older");
    for (int i = 0; i < 60; ++i)
        older.value(legacyValue(4, i));
    write("older.qel", older.bytes);
    ASSERT_EQ(run({"info", path("older.qel")}), 0) << err.str();
    EXPECT_NE(out.str().find("layout: older"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("byte order: byte-reversed"), std::string::npos);
    ASSERT_EQ(run({"reverse", path("older.qel"), path("current.qel")}), 0);
    PresetRig loaded;
    ASSERT_EQ(loaded.loadPresetFile(read("current.qel"), chunk::StoredOrder::AsFound),
              chunk::LoadStatus::Loaded);
    EXPECT_EQ(loaded.programs()[0].nameView(), "Older");
    EXPECT_EQ(loaded.programs()[0].values[59].get(), legacyValue(4, 59));
}

TEST_F(PresetTool, ExtractAndReplacePartsOfAStateChunk) {
    write("state", effect.stateChunk());
    ASSERT_EQ(run({"extract", path("state"), "bank", path("bank.qeb")}), 0) << err.str();
    EXPECT_EQ(read("bank.qeb"), effect.buildBankChunk());
    ASSERT_EQ(run({"extract", path("state"), "midi-settings", path("midi.qem")}), 0);
    EXPECT_EQ(read("midi.qem"), effect.buildMidiSettingsChunk());
    ASSERT_EQ(run({"extract", path("state"), "preset", path("p.qel")}), 0);
    EXPECT_EQ(read("p.qel"), effect.buildPresetChunk());
    ASSERT_EQ(run({"extract", path("state"), "preset", path("p3.qel"), "--program", "3"}), 0);
    EXPECT_NE(read("p3.qel"), effect.buildPresetChunk());

    PresetRig other;
    other.setParameter(60 + param::Drive, (9 + 0.5f) / 129.0f);
    write("other.qem", other.buildMidiSettingsChunk());
    ASSERT_EQ(run({"replace", path("state"), path("other.qem"), path("new")}), 0) << err.str();
    PresetRig restored;
    ASSERT_EQ(restored.restore(read("new")), 0);
    EXPECT_EQ(restored.controllerOfParameter(param::Drive), 9);
    EXPECT_EQ(restored.controllerOfParameter(param::Reso), kNoAssignment);
    EXPECT_EQ(restored.buildBankChunk(), effect.buildBankChunk());
}

TEST_F(PresetTool, BadInputIsRefusedWithAMessageAndAnExitCode) {
    write("foreign", std::vector<std::byte>(64, std::byte{7}));
    EXPECT_EQ(run({"info", path("foreign")}), 1);
    EXPECT_NE(err.str().find("not a preset, bank"), std::string::npos) << err.str();
    EXPECT_EQ(run({"info", path("missing")}), 1);
    EXPECT_NE(err.str().find("cannot be opened"), std::string::npos);
    write("huge", std::vector<std::byte>(200000));
    EXPECT_EQ(run({"export", path("huge")}), 1);
    EXPECT_NE(err.str().find("larger than"), std::string::npos);
    write("bank.qeb", effect.buildBankChunk());
    EXPECT_EQ(run({"extract", path("bank.qeb"), "bank", path("x")}), 1);
    EXPECT_NE(err.str().find("a bank, not a state"), std::string::npos) << err.str();
    EXPECT_EQ(run({"frobnicate"}), 2);
    EXPECT_EQ(run({"reverse", path("bank.qeb")}), 2);
    EXPECT_NE(err.str().find("usage:"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path("x")));
}

TEST_F(PresetTool, JsonErrorsNameTheFieldAtFault) {
    auto contents = *decode(effect.buildBankChunk()).contents;
    std::string json = toJsonText(contents);
    const auto withReplaced = [&](const std::string& from, const std::string& to) {
        std::string text = json;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at == std::string::npos) return std::string();
        EXPECT_EQ(text.find(from, at + 1), std::string::npos) << from << " is not unique";
        text.replace(at, from.size(), to);
        return contentsFromJsonText(text).error;
    };
    EXPECT_EQ(contentsFromJsonText("{").error, "the input is not valid JSON");
    EXPECT_EQ(withReplaced("\"bank\"", "\"drum\""),
              "kind must be preset, bank, midi-settings or state");
    EXPECT_EQ(withReplaced("\"currentProgram\": 17", "\"currentProgram\": 61"),
              "currentProgram must be a whole number 0..60");
    contents.programs[3].values[12] = 0.0078125f;
    json = toJsonText(contents);
    EXPECT_EQ(withReplaced("0.0078125", "1.5"), "programs[3].values[12] lies outside 0..1");
    EXPECT_EQ(withReplaced("\"Caf\xc3\xa9 \xc2\xbd\"", "\"\xe2\x82\xac\""),
              "programs[17].name must be text of at most 24 characters U+0001..U+00FF");
    EXPECT_EQ(withReplaced("\"programs\"", "\"programmes\""), "programs is missing");
}

} // namespace
} // namespace velmora::testing
