// Checks that the test machinery delivers what the other test programs rely on: their
// environment, and under Wine a prefix of the build tree's own, of the build's architecture.
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

TEST(WinePrefix, IsTheBuildTreesOwnOfTheProgramsArchitecture) {
    // Wine hands its Unix environment to Windows programs.
    EXPECT_EQ(environmentValue("WINEPREFIX"), QM_EXPECTED_WINEPREFIX);
    // A 32-bit program in a 64-bit prefix would run under WOW64, not as on the 32-bit
    // Windows of Excel 2000-2003's users; the 64-bit test build needs a 64-bit prefix.
    BOOL wow64 = TRUE;
    ASSERT_TRUE(IsWow64Process(GetCurrentProcess(), &wow64));
    EXPECT_FALSE(wow64);
    SYSTEM_INFO system{};
    GetNativeSystemInfo(&system);
    EXPECT_EQ(system.wProcessorArchitecture,
              sizeof(void*) == 8 ? PROCESSOR_ARCHITECTURE_AMD64 : PROCESSOR_ARCHITECTURE_INTEL);
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
