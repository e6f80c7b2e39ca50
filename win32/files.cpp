// Temporary files and whole-file access on Windows.
#include "win32/files.h"

#include <algorithm>

namespace qm::win32 {

namespace {

std::wstring folderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return L".";
    if (slash == 0 || (slash == 2 && path[1] == L':')) return path.substr(0, slash + 1);  // "\" or "C:\"
    return path.substr(0, slash);
}

HANDLE nullIfInvalid(HANDLE handle) { return handle == INVALID_HANDLE_VALUE ? nullptr : handle; }

}  // namespace

std::optional<std::string> Win32TempFiles::tempFolder() {
    char buffer[256] = {};
    DWORD length = ::GetTempPathA(255, buffer);
    if (length == 0 || length > 255) return std::nullopt;
    std::string folder(buffer, length);
    if (folder.back() != '\\') folder += '\\';
    return ansiToUtf8(folder);
}

std::optional<std::string> Win32TempFiles::createTempFile(const std::string& folder, const std::string& prefix) {
    // MAX_PATH, the size the function may write, although paths that long are not made here.
    char buffer[MAX_PATH + 1] = {};
    if (::GetTempFileNameA(utf8ToAnsi(folder).c_str(), utf8ToAnsi(prefix).c_str(), 0, buffer) == 0)
        return std::nullopt;
    return ansiToUtf8(buffer);
}

void Win32FileSystem::writeFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::wstring target = toUtf16(path);
    auto fail = [&path](const char* what, DWORD error) {
        return platform::PlatformError(std::string(what) + " " + path + ": " + errorText(error));
    };

    wchar_t temp[MAX_PATH + 1] = {};
    if (::GetTempFileNameW(folderOf(target).c_str(), L"qm", 0, temp) == 0)
        throw fail("cannot create a file beside", ::GetLastError());
    try {
        {
            UniqueHandle file(nullIfInvalid(::CreateFileW(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                                          FILE_ATTRIBUTE_NORMAL, nullptr)));
            if (!file) throw fail("cannot write", ::GetLastError());
            size_t done = 0;
            while (done < bytes.size()) {
                DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
                DWORD written = 0;
                if (!::WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0)
                    throw fail("cannot write", ::GetLastError());
                done += written;
            }
            if (!::FlushFileBuffers(file.get())) throw fail("cannot write", ::GetLastError());
        }
        if (!::MoveFileExW(temp, target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            throw fail("cannot replace", ::GetLastError());
    } catch (...) {
        ::DeleteFileW(temp);
        throw;
    }
}

std::optional<std::vector<uint8_t>> Win32FileSystem::readFile(const std::string& path) {
    UniqueHandle file(nullIfInvalid(::CreateFileW(toUtf16(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > 0x7FFFFFFF) return std::nullopt;
    std::vector<uint8_t> out(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < out.size()) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), out.data() + done, static_cast<DWORD>(out.size() - done), &got, nullptr))
            return std::nullopt;
        if (got == 0) break;  // shorter than it was a moment ago
        done += got;
    }
    out.resize(done);
    return out;
}

bool Win32FileSystem::removeFile(const std::string& path) { return ::DeleteFileW(toUtf16(path).c_str()) != 0; }

bool Win32FileSystem::exists(const std::string& path) {
    return ::GetFileAttributesW(toUtf16(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace qm::win32
