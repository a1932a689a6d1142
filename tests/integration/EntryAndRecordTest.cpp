// The plug-in binary as a host first meets it: its exports, its entry and the record it returns.
#include "tests/support/HostFixture.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>

namespace velmora::testing {
namespace {

using EntryTest = HostFixture;

#ifndef _WIN32
std::set<std::string> exportedSymbols(const std::string& path) {
    const std::string command = "nm -D --defined-only '" + path + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::set<std::string> names;
    if (!pipe) {
        return names;
    }
    char line[512];
    while (std::fgets(line, sizeof line, pipe.get()) != nullptr) {
        std::istringstream fields(line);
        std::string address, type, name;
        if (fields >> address >> type >> name) {
            names.insert(name);
        }
    }
    return names;
}
#endif

// A real shared library without a plug-in entry: the C library (or on Windows the kernel's DLL)
// this test runs on.
std::string libraryWithoutAnEntry() {
#ifdef _WIN32
    char path[MAX_PATH] = {};
    GetModuleFileNameA(GetModuleHandleW(L"kernel32.dll"), path, MAX_PATH);
    return path;
#else
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&std::fputs), &info) == 0) return {};
    return info.dli_fname;
#endif
}

TEST_F(EntryTest, ExportsExactlyTheTwoEntryNames) {
    EXPECT_TRUE(library.entryIsVstPluginMain());
#ifdef _WIN32
    GTEST_SKIP() << "the DLL's export table is checked by scripts/test-windows.sh (objdump)";
#else
    EXPECT_EQ(exportedSymbols(builtPluginPath()), (std::set<std::string>{"VSTPluginMain", "main"}));
#endif
}

TEST_F(EntryTest, RecordCarriesTheDeclaredShape) {
    AEffect* effect = library.callEntry(host);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->magic, fourCharacters('V', 's', 't', 'P'));
    EXPECT_EQ(effect->numPrograms, 1);
    EXPECT_EQ(effect->numParams, 60);
    EXPECT_EQ(effect->numInputs, 4);
    EXPECT_EQ(effect->numOutputs, 2);
    // Has-editor, can-replacing, program chunks and can-double-replacing.
    EXPECT_EQ(effect->flags, 0x1031);
    EXPECT_EQ(effect->uniqueID, fourCharacters('V', 'L', 'M', 'R'));
    EXPECT_EQ(effect->version, 1);
    EXPECT_EQ(effect->initialDelay, 0);
    EXPECT_EQ(effect->ioRatio, 1.0f);
    EXPECT_EQ(effect->user, nullptr);
    EXPECT_NE(effect->object, nullptr);
    EXPECT_NE(effect->processReplacing, nullptr);
    EXPECT_NE(effect->processDoubleReplacing, nullptr);
    EXPECT_NE(effect->setParameter, nullptr);
    EXPECT_NE(effect->getParameter, nullptr);
    EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST_F(EntryTest, HostThatAnswersNoVersionGetsNoInstance) {
    host.setVersion(0);
    EXPECT_EQ(library.callEntry(host), nullptr);
    EXPECT_THROW(createInstance(), host::HostError);
}

TEST_F(EntryTest, ConstructionAppliesTheFirstProgramAndTellsTheHost) {
    createInstance();
    // Applying program 0 ends with a display update and an empty edit bracket on parameter 0;
    // these arrive while the entry runs, before the host knows the record.
    EXPECT_GE(host.updateDisplayCount(), 1);
    EXPECT_EQ(host.beginEdits(), std::vector<VstInt32>{0});
    EXPECT_EQ(host.endEdits(), std::vector<VstInt32>{0});
    EXPECT_TRUE(host.automations().empty());
}

TEST_F(EntryTest, ResumeAsksTheHostForMidiTempoLatencyAndPins) {
    auto& plugin = createInstance();
    host.clearRecords();
    plugin.resume();
    EXPECT_GE(host.wantMidiCount(), 1);
    EXPECT_GE(host.timeQueryCount(), 1);
    int pinQueries = 0;
    bool latencyAsked = false;
    for (const auto& call : host.calls()) {
        pinQueries += call.opcode == audioMasterPinConnected ? 1 : 0;
        latencyAsked = latencyAsked || call.opcode == audioMasterGetOutputLatency;
    }
    EXPECT_GT(pinQueries, 0);
    EXPECT_TRUE(latencyAsked);

    // A fixed speaker arrangement replaces the pin queries.
    plugin.suspend();
    ASSERT_TRUE(plugin.setSpeakerArrangement(4, 2));
    host.clearRecords();
    plugin.resume();
    for (const auto& call : host.calls()) {
        EXPECT_NE(call.opcode, audioMasterPinConnected);
    }
}

TEST_F(EntryTest, MissingBinaryOrEntryIsReportedClearly) {
    try {
        host::PluginLibrary missing("/nonexistent/Velmora.so");
        FAIL() << "loading a missing file succeeded";
    } catch (const host::HostError& error) {
        EXPECT_NE(std::string(error.what()).find("/nonexistent/Velmora.so"), std::string::npos);
    }
    const std::string withoutEntry = libraryWithoutAnEntry();
    ASSERT_FALSE(withoutEntry.empty());
    try {
        host::PluginLibrary notAPlugin(withoutEntry);
        FAIL() << "a library without an entry loaded as a plug-in";
    } catch (const host::HostError& error) {
        EXPECT_NE(std::string(error.what()).find("VSTPluginMain"), std::string::npos);
    }
}

} // namespace
} // namespace velmora::testing
