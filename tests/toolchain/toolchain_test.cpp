// Checks that the test machinery delivers what the other test programs rely on: their
// environment, and under Wine a 32-bit prefix of the build tree's own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include <mutex>
#include <thread>
#endif

namespace {

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "<unset>";
}

TEST(RegisteredEnvironment, ReachesEveryTestWithSpacesAndEqualSignsIntact) {
    EXPECT_EQ(environmentValue("QM_PROBE_PLAIN"), "1");
    EXPECT_EQ(environmentValue("QM_PROBE_SPACED"), "two words");
    EXPECT_EQ(environmentValue("QM_PROBE_EQUALS"), "a=b");
}

#ifdef _WIN32

TEST(WinePrefix, IsTheBuildTreesOwnAndThirtyTwoBit) {
    // Wine hands its Unix environment to Windows programs.
    EXPECT_EQ(environmentValue("WINEPREFIX"), QM_EXPECTED_WINEPREFIX);
    // In a 64-bit prefix a 32-bit program runs under WOW64; the add-in targets 32-bit Excel.
    BOOL wow64 = TRUE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
    EXPECT_FALSE(wow64);
}

TEST(WinePrefix, FilesWithJapaneseNamesCanBeMade) {
    // Wine stores file names in the encoding of the Unix locale it runs in: under LANG=C
    // no Japanese name can be made, however the caller's shell is set up.
    wchar_t folder[MAX_PATH] = {};
    ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0u);
    const std::wstring path =
        std::wstring(folder) + L"qm_\u8a66\u9a13_" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << "error " << GetLastError();
    CloseHandle(file);
    EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(DeleteFileW(path.c_str()));
}

TEST(WindowsRuntime, ThreadsAndMutexesWork) {
    // The reason for the -posix compilers: the -win32 ones lack std::thread and std::mutex.
    std::mutex lock;
    int counted = 0;
    auto count = [&] {
        for (int i = 0; i < 1000; ++i) {
            std::lock_guard<std::mutex> hold(lock);
            ++counted;
        }
    };
    std::thread first(count);
    std::thread second(count);
    first.join();
    second.join();
    EXPECT_EQ(counted, 2000);
}

#endif

}  // namespace
