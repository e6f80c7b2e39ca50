// Temporary files and whole-file replacement on Linux.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <regex>

#include "posix/files.h"
#include "posix_test_folder.h"

namespace qm::posix {
namespace {

using testing::slurp;
using testing::spit;
using testing::TestFolder;

Environment tmpdir(std::optional<std::string> value) {
    return [value](const std::string& name) { return name == "TMPDIR" ? value : std::nullopt; };
}

std::vector<uint8_t> bytes(const std::string& text) { return {text.begin(), text.end()}; }

TEST(PosixTempFiles, FolderComesFromTmpdirAndEndsInASlash) {
    EXPECT_EQ(PosixTempFiles(tmpdir("/var/tmp")).tempFolder(), "/var/tmp/");
    EXPECT_EQ(PosixTempFiles(tmpdir("/var/tmp/")).tempFolder(), "/var/tmp/");
    EXPECT_EQ(PosixTempFiles(tmpdir(std::nullopt)).tempFolder(), "/tmp/");
}

TEST(PosixTempFiles, NewEmptyFilesNamedAsOnWindows) {
    TestFolder folder;
    PosixTempFiles temp(tmpdir(std::nullopt));
    const std::pair<std::string, std::string> cases[] = {
        {"QuillmarkPicture", "Qui"}, {"描画用ファイル", "描画用"}, {"", ""}};  // whole characters
    for (const auto& [prefix, start] : cases) {
        auto path = temp.createTempFile(folder.path(), prefix);  // no "/" after the folder needed
        ASSERT_TRUE(path) << prefix;
        EXPECT_TRUE(std::regex_match(*path, std::regex(folder.path() + "/" + start + "[0-9A-F]{4}\\.TMP"))) << *path;
        EXPECT_EQ(std::filesystem::file_size(*path), 0u);
    }
    EXPECT_EQ(temp.createTempFile(folder / "missing", "qm"), std::nullopt);
    EXPECT_EQ(temp.createTempFile(folder.path(), "a/b"), std::nullopt);
    EXPECT_EQ(folder.entries().size(), 3u);
}

TEST(PosixTempFiles, NoNameIsUsedTwice) {
    TestFolder folder;
    PosixTempFiles first(tmpdir(std::nullopt)), second(tmpdir(std::nullopt));
    std::set<std::string> made;
    for (int i = 0; i < 300; ++i) {
        for (PosixTempFiles* temp : {&first, &second}) {
            auto path = temp->createTempFile(folder.path() + "/", "qm");
            ASSERT_TRUE(path);
            EXPECT_TRUE(made.insert(*path).second) << "reused " << *path;
        }
    }
    EXPECT_EQ(folder.entries().size(), 600u);
}

TEST(PosixFileSystem, ReplacesAnExistingFileKeepingItsPermissions) {
    TestFolder folder;
    const std::string path = folder / "picture.bmp";
    spit(path, "old contents that are longer");
    ::chmod(path.c_str(), 0640);
    PosixFileSystem files;
    files.writeFileReplacing(path, bytes(std::string("new\0bytes", 9)));
    EXPECT_EQ(files.readFile(path), bytes(std::string("new\0bytes", 9)));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    files.writeFileReplacing(folder / "empty", {});
    EXPECT_EQ(slurp(folder / "empty"), "");
    EXPECT_EQ(folder.entries(), (std::set<std::string>{"picture.bmp", "empty"}));
}

TEST(PosixFileSystem, RefusedReplacementLeavesNoTempFile) {
    TestFolder folder;
    std::filesystem::create_directory(folder / "taken");  // a folder stands where the file should go
    EXPECT_THROW(PosixFileSystem().writeFileReplacing(folder / "taken", bytes("new")), platform::PlatformError);
    EXPECT_THROW(PosixFileSystem().writeFileReplacing(folder / "missing/x", bytes("new")), platform::PlatformError);
    EXPECT_EQ(folder.entries(), std::set<std::string>{"taken"});
}

TEST(PosixFileSystem, ReadRemoveExists) {
    TestFolder folder;
    PosixFileSystem files;
    const std::string path = folder / "f";
    EXPECT_FALSE(files.exists(path));
    EXPECT_EQ(files.readFile(path), std::nullopt);
    EXPECT_FALSE(files.removeFile(path));
    spit(path, "x");
    EXPECT_TRUE(files.exists(path));
    EXPECT_TRUE(files.removeFile(path));
    EXPECT_FALSE(files.exists(path));
    EXPECT_EQ(files.readFile(folder.path()), std::nullopt);  // a folder is not a file
}

}  // namespace
}  // namespace qm::posix
