// Temporary files, whole-file replacement and text conversion on Windows.
#include <gtest/gtest.h>

#include <set>

#include "win32/files.h"

namespace qm::win32 {
namespace {

std::vector<uint8_t> bytes(const std::string& text) { return {text.begin(), text.end()}; }

// Names in a folder, as UTF-8.
std::set<std::string> entries(const std::string& folder) {
    std::set<std::string> out;
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((toUtf16(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return out;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") out.insert(toUtf8(name));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return out;
}

void removeFolder(const std::string& folder) {
    for (const std::string& name : entries(folder)) {
        const std::wstring path = toUtf16(folder + "\\" + name);
        if (!::DeleteFileW(path.c_str())) ::RemoveDirectoryW(path.c_str());
    }
    ::RemoveDirectoryW(toUtf16(folder).c_str());
}

// Fresh folders in the temporary folder, one with a Japanese name, removed afterwards.
class Win32FilesTest : public ::testing::Test {
protected:
    Win32FilesTest() {
        const std::string temp = *Win32TempFiles().tempFolder(), id = std::to_string(::GetCurrentProcessId());
        folder = temp + "qm試験" + id;
        // The A functions take ANSI paths, and not every code page has Japanese.
        plainFolder = temp + "qm-plain-" + id;
        ::CreateDirectoryW(toUtf16(folder).c_str(), nullptr);
        ::CreateDirectoryW(toUtf16(plainFolder).c_str(), nullptr);
    }
    ~Win32FilesTest() override {
        removeFolder(folder);
        removeFolder(plainFolder);
    }

    std::string folder, plainFolder;
    Win32FileSystem files;
};

TEST(Win32Text, Utf8AndUtf16RoundTrip) {
    const std::string text = "abc 描画 \xF0\x9F\x96\x8C";
    EXPECT_EQ(toUtf16(text), std::wstring(L"abc 描画 \U0001F58C"));
    EXPECT_EQ(toUtf8(toUtf16(text)), text);
    EXPECT_EQ(toUtf16(""), L"");
    EXPECT_EQ(toUtf16("a\xFFz"), L"a\uFFFDz");
    EXPECT_EQ(ansiToUtf8(utf8ToAnsi("plain ASCII")), "plain ASCII");
}

TEST(Win32Text, ErrorTextIsTheSystemMessageAndCode) {
    const std::string text = errorText(ERROR_FILE_NOT_FOUND);
    EXPECT_GT(text.size(), 4u);
    EXPECT_EQ(text.substr(text.size() - 4), " (2)") << text;
    EXPECT_EQ(text.find('\n'), std::string::npos) << text;
}

TEST_F(Win32FilesTest, TempFilesAreNewEmptyAndNamedFromThePrefix) {
    const std::string& ascii = plainFolder;
    Win32TempFiles temp;
    auto folderPath = temp.tempFolder();
    ASSERT_TRUE(folderPath);
    EXPECT_EQ(folderPath->back(), '\\');
    std::set<std::string> made;
    for (int i = 0; i < 20; ++i) {
        auto path = temp.createTempFile(ascii, "QuillmarkPicture");
        ASSERT_TRUE(path);
        EXPECT_EQ(path->rfind(ascii + "\\Qui", 0), 0u) << *path;
        EXPECT_EQ(path->substr(path->size() - 4), ".tmp") << *path;
        EXPECT_EQ(files.readFile(*path), std::vector<uint8_t>{}) << *path;
        EXPECT_TRUE(made.insert(*path).second) << *path;
    }
    EXPECT_EQ(entries(ascii).size(), 20u);
    EXPECT_EQ(temp.createTempFile(folder + "\\missing", "qm"), std::nullopt);
}

TEST_F(Win32FilesTest, ReplacesAnExistingFileAndLeavesNoTempFile) {
    const std::string path = folder + "\\絵.bmp";
    files.writeFileReplacing(path, bytes("old contents, longer"));
    files.writeFileReplacing(path, bytes(std::string("new\0bytes", 9)));
    EXPECT_EQ(files.readFile(path), bytes(std::string("new\0bytes", 9)));
    files.writeFileReplacing(folder + "\\empty", {});
    EXPECT_EQ(files.readFile(folder + "\\empty"), std::vector<uint8_t>{});
    EXPECT_EQ(entries(folder), (std::set<std::string>{"絵.bmp", "empty"}));
}

TEST_F(Win32FilesTest, FailedReplacementRemovesTheTempFile) {
    const std::string taken = folder + "\\taken";
    ASSERT_TRUE(::CreateDirectoryW(toUtf16(taken).c_str(), nullptr));
    try {
        files.writeFileReplacing(taken, bytes("new"));
        FAIL() << "replacing a folder succeeded";
    } catch (const platform::PlatformError& e) {
        EXPECT_NE(std::string(e.what()).find(taken), std::string::npos) << e.what();
    }
    EXPECT_EQ(entries(folder), std::set<std::string>{"taken"});
    EXPECT_THROW(files.writeFileReplacing(folder + "\\missing\\x", bytes("new")), platform::PlatformError);
    EXPECT_EQ(entries(folder), std::set<std::string>{"taken"});
}

TEST_F(Win32FilesTest, ReadRemoveExists) {
    const std::string path = folder + "\\f";
    EXPECT_FALSE(files.exists(path) || files.readFile(path) || files.removeFile(path));
    files.writeFileReplacing(path, bytes("x"));
    EXPECT_TRUE(files.exists(path) && files.removeFile(path));
    EXPECT_FALSE(files.exists(path));
    EXPECT_EQ(files.readFile(folder), std::nullopt);
}

}  // namespace
}  // namespace qm::win32
