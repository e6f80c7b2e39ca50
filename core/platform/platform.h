// Interfaces of the operating-system services the add-in uses. Implementations live in
// win32/ (the shipping DLL), posix/ (the simulated host on Linux) and in test doubles.
// Every service is passed in; nothing here is global.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace qm::platform {

// A failure of an operating-system service (a file that cannot be written, a registry
// key that cannot be created). Core code reports it like a host error.
class PlatformError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Per-user string settings addressed by application, section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual std::optional<std::string> read(const std::string& app, const std::string& section,
                                            const std::string& key) = 0;
    // Creates the section when needed and replaces the value; throws PlatformError.
    virtual void write(const std::string& app, const std::string& section, const std::string& key,
                       const std::string& value) = 0;
};

// The user's default locale.
class Locale {
public:
    virtual ~Locale() = default;
    // The English name of the locale's country ("Japan", "United States"), as the
    // system reports it; nothing when the query fails.
    virtual std::optional<std::string> userCountryName() = 0;
    // Abbreviated month name (1..12) in the user's locale, for dates shown in windows.
    virtual std::string abbreviatedMonthName(int month) = 0;
};

// Temporary folder and files.
class TempFiles {
public:
    virtual ~TempFiles() = default;
    // The user's temporary folder, ending in the path separator; nothing on failure.
    virtual std::optional<std::string> tempFolder() = 0;
    // Creates a new empty, uniquely named file in `folder` whose name starts with
    // `prefix`, and returns its full path; nothing on failure.
    virtual std::optional<std::string> createTempFile(const std::string& folder, const std::string& prefix) = 0;
};

// Files written and removed by the add-in.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Writes the whole file under a temporary name in the same folder, then replaces
    // `path` with it, so that no reader ever sees a half-written file. Throws PlatformError.
    virtual void writeFileReplacing(const std::string& path, const std::vector<uint8_t>& bytes) = 0;
    virtual std::optional<std::vector<uint8_t>> readFile(const std::string& path) = 0;
    virtual bool removeFile(const std::string& path) = 0;
    virtual bool exists(const std::string& path) = 0;
};

// The shell: opens a document or web address with its default program.
class Shell {
public:
    virtual ~Shell() = default;
    virtual void open(const std::string& address) = 0;  // result ignored by callers
};

class Sound {
public:
    virtual ~Sound() = default;
    virtual void beep() = 0;
};

// Message box styles and results, with the classic numbers.
namespace mb {
inline constexpr int kOkOnly = 0;
inline constexpr int kOkCancel = 1;
inline constexpr int kYesNoCancel = 3;
inline constexpr int kYesNo = 4;
inline constexpr int kCritical = 16;
inline constexpr int kQuestion = 32;
inline constexpr int kExclamation = 48;
inline constexpr int kInformation = 64;

inline constexpr int kResultOk = 1;
inline constexpr int kResultCancel = 2;
inline constexpr int kResultAbort = 3;
inline constexpr int kResultRetry = 4;
inline constexpr int kResultIgnore = 5;
inline constexpr int kResultYes = 6;
inline constexpr int kResultNo = 7;
}  // namespace mb

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // Shows a modal message box and returns the button pressed (mb::kResult...).
    virtual int show(const std::string& text, int style, const std::string& title) = 0;
};

// The common colour dialog. Colours are 0x00BBGGRR.
class ColorChooser {
public:
    virtual ~ColorChooser() = default;
    // The chosen colour, or nothing when the user cancelled.
    virtual std::optional<int32_t> choose(std::optional<int32_t> initial) = 0;
};

// Standard clipboard format numbers the add-in saves, restores and reads.
namespace cf {
inline constexpr int32_t kText = 1;
inline constexpr int32_t kBitmap = 2;
inline constexpr int32_t kMetafilePict = 3;
inline constexpr int32_t kDib = 8;
inline constexpr int32_t kPalette = 9;
inline constexpr int32_t kUnicodeText = 13;
inline constexpr int32_t kEnhMetafile = 14;
inline constexpr int32_t kLink = -16640;  // 0xBF00 as a 16-bit value
}  // namespace cf

// A picture on the clipboard, carried as the bytes of its file form: a BMP file for
// bitmaps and DIBs, an EMF file for enhanced metafiles, a WMF (placeable header) for
// metafile pictures, a LOGPALETTE for palettes.
struct Picture {
    int32_t format = 0;
    std::vector<uint8_t> bytes;
};

// One format of the clipboard with a copy of its data, in the system's own terms: what
// the add-in keeps of the user's clipboard while it copies pictures through it.
struct ClipboardEntry {
    // How the system holds the data, and so what `bytes` carry.
    enum class Kind : uint8_t {
        Memory,           // a memory block: its bytes
        Bitmap,           // a device bitmap: a BMP file
        Palette,          // a palette: a LOGPALETTE
        EnhMetafile,      // an enhanced metafile: its EMF file
        MetafilePicture,  // a metafile picture: mapping mode, x and y extent (32 bits each, little-endian),
                          // then the Windows metafile
    };
    uint32_t format = 0;  // the system's number
    std::string name;     // a registered format's name (its number is the session's); empty for the others
    Kind kind = Kind::Memory;
    std::vector<uint8_t> bytes;
    bool operator==(const ClipboardEntry&) const = default;
};

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    virtual bool hasFormat(int32_t format) = 0;
    virtual std::optional<Picture> getPicture(int32_t format) = 0;
    virtual std::optional<std::string> getText(int32_t format) = 0;
    virtual void setPicture(const Picture& picture, int32_t format) = 0;
    virtual void setText(const std::string& text, int32_t format) = 0;

    // Copies of the formats the clipboard holds, in its order, as far as their data can be
    // copied and together stay within `maxBytes`: a format that would go beyond is left
    // out and the later ones are still tried. Formats without data (a delayed format whose
    // owner does not render it, owner-drawn display) or with data only their owner
    // understands (private handles) are left out.
    virtual std::vector<ClipboardEntry> copyAll(size_t maxBytes) = 0;
    // Empties the clipboard and places every entry in its order, in one go; an entry the
    // system refuses is skipped.
    virtual void replaceAll(const std::vector<ClipboardEntry>& entries) = 0;
    // Adds one format to what the clipboard holds (replacing that format's data).
    virtual void add(const ClipboardEntry& entry) = 0;
};

struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// Top-level windows of other programs (the host's main window).
class WindowFinder {
public:
    virtual ~WindowFinder() = default;
    // Screen rectangle of the first top-level window of that class and title.
    virtual std::optional<Rect> findWindowRect(const std::string& className, const std::string& title) = 0;
};

// The services together, as the add-in receives them.
struct Services {
    SettingsStore& settings;
    Locale& locale;
    TempFiles& temp;
    FileSystem& files;
    Shell& shell;
    Sound& sound;
    MessageBox& messageBox;
    ColorChooser& colors;
    Clipboard& clipboard;
    WindowFinder& windows;
};

}  // namespace qm::platform
