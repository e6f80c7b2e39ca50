// The Linux settings file: round trips, layout, names without regard to case, damaged
// files, crash-safe replacement and several writers on one file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <map>
#include <thread>

#include "posix/settings_store.h"
#include "posix_test_folder.h"

namespace qm::posix {
namespace {

using testing::slurp;
using testing::spit;
using testing::TestFolder;
using namespace std::string_literals;

TEST(PosixSettingsStore, AnyTextRoundTripsThroughTheFile) {
    TestFolder folder;
    const std::string path = folder / "settings.ini";
    const std::map<std::string, std::string> values{
        {"Japanese", "描画モード（既定）"},         {"Backslashes", "C:\\dir\\sub\\"},
        {"Lines", "one\r\ntwo\nthree\r"},           {"Brackets", "[App\\Section]"},
        {"Equals", "a=b==c"},                       {"Comment", ";not a comment # either"},
        {"Spaces", "  padded  "},                   {"Controls", "nul\0tab\tesc\x1b"s},
        {"Escapes", "\\n is no newline, \\x41 no A"}, {"Empty", ""},
        {"key=with[odd];#%names\\", "odd key"},
    };
    for (const auto& [key, value] : values) PosixSettingsStore(path).write("App\\Odd%Name", "Sec]tion", key, value);
    PosixSettingsStore fresh(path);
    for (const auto& [key, value] : values) EXPECT_EQ(fresh.read("App\\Odd%Name", "Sec]tion", key), value) << key;
    EXPECT_EQ(fresh.read("App\\Odd%Name", "Sec]tion", "Absent"), std::nullopt);
    EXPECT_EQ(fresh.read("App", "Sec]tion", "Empty"), std::nullopt);
}

TEST(PosixSettingsStore, PlainValuesAreReadableLinesAndNamesIgnoreCase) {
    TestFolder folder;
    PosixSettingsStore store(folder / "settings.ini");
    store.write("NVK", "Setting", "GridWidth", "1.5");
    store.write("NVK", "Bar", "Visible", "True");
    store.write("nvk", "SETTING", "FitGrid", "0");
    store.write("Nvk", "setting", "GRIDWIDTH", "2");
    EXPECT_EQ(store.read("nvk", "setting", "gridwidth"), "2");
    // One entry per name, in the spelling it was first written with; new ones join their section.
    EXPECT_EQ(slurp(folder / "settings.ini"), "[NVK\\Setting]\nGridWidth=2\nFitGrid=0\n\n[NVK\\Bar]\nVisible=True\n");
}

TEST(PosixSettingsStore, MissingFileReadsEmptyAndFirstWriteCreatesPrivateFolders) {
    TestFolder folder;
    const std::string path = folder / "config/quillmark/settings.ini";
    PosixSettingsStore store(path);
    EXPECT_EQ(store.read("A", "S", "K"), std::nullopt);
    store.write("A", "S", "K", "v");
    struct stat info {};
    ASSERT_EQ(::stat((folder / "config/quillmark").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(store.read("A", "S", "K"), "v");
}

TEST(PosixSettingsStore, DamagedLinesAreSkippedAndKept) {
    TestFolder folder;
    const std::string path = folder / "settings.ini";
    const std::string damaged =
        "orphan=before any header\n[A\\S]\r\nGood=1\r\nno equals sign\nBadEscape=ends in \\\nBadHex=\\xZZ\n"
        "Bad%Name=x\n; Comment=not an entry\n[A\\S\nUnclosed=ignored\n[A\\B\\C]\nTwoSeparators=ignored\n"
        "[A\\T]\nOther=2\n\x01\xff\xfe garbage \x00 bytes\n"s;
    spit(path, damaged);
    PosixSettingsStore store(path);
    EXPECT_EQ(store.read("A", "S", "Good"), "1");
    EXPECT_EQ(store.read("A", "T", "Other"), "2");
    for (const char* key : {"orphan", "BadEscape", "BadHex", "Bad%Name", "Bad", "; Comment", "Unclosed"})
        EXPECT_EQ(store.read("A", "S", key), std::nullopt) << key;
    EXPECT_EQ(store.read("A", "B\\C", "TwoSeparators"), std::nullopt);

    // A write changes its own line only: what could not be read is not thrown away.
    store.write("A", "S", "Good", "3");
    std::string expected = damaged;
    expected.replace(expected.find("Good=1"), 6, "Good=3");
    EXPECT_EQ(slurp(path), expected);
}

TEST(PosixSettingsStore, UnreadableFileReadsEmptyButIsNeverOverwritten) {
    TestFolder folder;
    const std::string path = folder / "settings.ini";
    std::filesystem::create_directory(path);  // unreadable as a file even for root
    PosixSettingsStore store(path);
    EXPECT_EQ(store.read("A", "S", "K"), std::nullopt);
    EXPECT_THROW(store.write("A", "S", "K", "v"), platform::PlatformError);
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(folder.entries(), std::set<std::string>{"settings.ini"});
}

TEST(PosixSettingsStore, FailedReplacementLeavesTheOldFileAndNoTempFile) {
    // Each step that can fail once the new file exists, with what the failure says.
    struct Failure {
        FileCalls calls;
        const char* what;
        const char* reason;
    };
    const Failure failures[] = {
        {{.write = [](int, const void*, size_t) -> ssize_t { errno = ENOSPC; return -1; }}, "write", "No space left on device"},
        {{.fsync = [](int) { errno = EIO; return -1; }}, "write", "Input/output error"},
        {{.rename = [](const char*, const char*) { errno = EXDEV; return -1; }}, "replace", "Invalid cross-device link"},
    };
    for (const auto& [calls, what, reason] : failures) {
        TestFolder folder;
        const std::string path = folder / "settings.ini";
        PosixSettingsStore(path).write("A", "S", "K", "old");
        const std::string before = slurp(path);
        try {
            PosixSettingsStore(path, calls).write("A", "S", "K", "new");
            ADD_FAILURE() << reason << ": the write succeeded";
        } catch (const platform::PlatformError& e) {
            EXPECT_EQ(std::string(e.what()), "cannot " + std::string(what) + " " + path + ": " + reason);
        }
        EXPECT_EQ(slurp(path), before) << reason;
        EXPECT_EQ(folder.entries(), std::set<std::string>{"settings.ini"}) << reason;
    }
}

TEST(PosixSettingsStore, StoresWritingOneFileAtOnceLoseNoValue) {
    TestFolder folder;
    const std::string path = folder / "settings.ini";
    constexpr int kWriters = 4, kWrites = 40;
    std::vector<std::thread> writers;
    for (int w = 0; w < kWriters; ++w) {
        writers.emplace_back([&path, w] {
            PosixSettingsStore store(path);
            for (int i = 0; i < kWrites; ++i)
                store.write("A", "Writer" + std::to_string(w), "K" + std::to_string(i), std::to_string(w * 1000 + i));
        });
    }
    for (auto& writer : writers) writer.join();
    PosixSettingsStore store(path);
    for (int w = 0; w < kWriters; ++w)
        for (int i = 0; i < kWrites; ++i)
            ASSERT_EQ(store.read("A", "Writer" + std::to_string(w), "K" + std::to_string(i)),
                      std::to_string(w * 1000 + i));
    EXPECT_EQ(folder.entries(), std::set<std::string>{"settings.ini"});
}

TEST(PosixSettingsStore, DefaultPathFollowsXdgThenHome) {
    auto env = [](std::map<std::string, std::string> vars) {
        return [vars](const std::string& name) -> std::optional<std::string> {
            auto it = vars.find(name);
            return it == vars.end() ? std::nullopt : std::optional(it->second);
        };
    };
    EXPECT_EQ(PosixSettingsStore::defaultPath(env({{"XDG_CONFIG_HOME", "/x/cfg"}, {"HOME", "/home/u"}})),
              "/x/cfg/quillmark/settings.ini");
    EXPECT_EQ(PosixSettingsStore::defaultPath(env({{"HOME", "/home/u"}})), "/home/u/.config/quillmark/settings.ini");
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    EXPECT_EQ(PosixSettingsStore::defaultPath(env({{"XDG_CONFIG_HOME", "cfg"}, {"HOME", "/home/u"}})),
              "/home/u/.config/quillmark/settings.ini");
}

}  // namespace
}  // namespace qm::posix
