// The simulated clipboard as programs see it, and the add-in's snapshot of the user's
// clipboard taken and put back over it.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>

#include "core/picture/clipboard_snapshot.h"
#include "sim/clipboard.h"

namespace qm::sim {
namespace {

namespace cf = platform::cf;
using Entry = platform::ClipboardEntry;
using Kind = Entry::Kind;

std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

// What a user had copied from a word processor and a drawing program.
void copyFromOtherPrograms(SimClipboard& clip) {
    clip.add({0, "HTML Format", Kind::Memory, bytesOf("<b>cells</b>")});
    clip.add({0, "Rich Text Format", Kind::Memory, bytesOf("{\\rtf1 cells}")});
    clip.add({cf::kUnicodeText, "", Kind::Memory, unicodeTextBytes("図形 ✓")});
    clip.add({cf::kEnhMetafile, "", Kind::EnhMetafile, {1, 0, 0, 0, 9}});
    clip.add({cf::kPalette, "", Kind::Palette, {0, 3, 1, 0, 10, 20, 30, 0}});
}

TEST(SimClipboard, TextLinkAndRegisteredFormatsAsTheSystemHoldsThem) {
    SimClipboard clip;
    clip.setText("a\r\nb", cf::kText);
    auto all = clip.copyAll(SIZE_MAX);
    ASSERT_EQ(all.size(), 2u);  // as Unicode first, then as 8-bit text
    EXPECT_EQ(all[0].format, uint32_t(cf::kUnicodeText));
    EXPECT_EQ(textFromUnicodeBytes(all[0].bytes), "a\r\nb");
    EXPECT_EQ(all[1].bytes, bytesOf(std::string("a\r\nb\0", 5)));

    // Unicode text alone is text too.
    clip.clear();
    clip.add({cf::kUnicodeText, "", Kind::Memory, unicodeTextBytes("only 𝒰nicode")});
    EXPECT_TRUE(clip.hasFormat(cf::kText));
    EXPECT_EQ(clip.getText(cf::kText), "only 𝒰nicode");

    // The link is the registered "Link"; a name keeps its number, and data placed again
    // under a format replaces it where it stands.
    clip.setText(std::string("Excel\0Sheet1\0R1C1", 17), cf::kLink);
    clip.add({0, "Rich Text Format", Kind::Memory, bytesOf("old")});
    clip.add({0, "rich text format", Kind::Memory, bytesOf("new")});
    all = clip.copyAll(SIZE_MAX);
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[1].name, "Link");
    EXPECT_GE(all[1].format, 0xC000u);
    EXPECT_EQ(clip.getText(cf::kLink), std::string("Excel\0Sheet1\0R1C1", 17));
    EXPECT_EQ(all[2].bytes, bytesOf("new"));
    EXPECT_EQ(all[2].name, "Rich Text Format");
    EXPECT_NE(all[2].format, all[1].format);
    // A registered number the clipboard never gave out names nothing.
    EXPECT_THROW(clip.add({0xC0FF, "", Kind::Memory, {}}), platform::PlatformError);
    EXPECT_NO_THROW(clip.add({all[2].format, "", Kind::Memory, bytesOf("by number")}));
    EXPECT_EQ(clip.copyAll(SIZE_MAX)[2].bytes, bytesOf("by number"));
}

TEST(ClipboardSnapshot, EveryFormatComesBackInItsOrderOverWhatTheAddinCopied) {
    SimClipboard clip;
    copyFromOtherPrograms(clip);
    const auto before = clip.copyAll(SIZE_MAX);
    {
        const picture::ClipboardGuard guard(clip);
        clip.clear();
        clip.setPicture({cf::kBitmap, {1, 2, 3}}, cf::kBitmap);  // the add-in's copy
    }
    EXPECT_EQ(clip.copyAll(SIZE_MAX), before);
    EXPECT_EQ(clip.getText(cf::kText), "図形 ✓");
    EXPECT_FALSE(clip.hasFormat(cf::kBitmap));

    // An empty clipboard is empty again afterwards.
    clip.clear();
    {
        const picture::ClipboardGuard guard(clip);
        clip.setPicture({cf::kBitmap, {1, 2, 3}}, cf::kBitmap);
    }
    EXPECT_TRUE(clip.copyAll(SIZE_MAX).empty());
}

TEST(ClipboardSnapshot, AFormatBeyondTheLimitIsLeftOutAndTheLaterOnesKept) {
    SimClipboard clip;
    clip.add({0, "First", Kind::Memory, std::vector<uint8_t>(60, 'a')});
    clip.add({0, "Too large", Kind::Memory, std::vector<uint8_t>(50, 'b')});
    clip.add({0, "Last", Kind::Memory, std::vector<uint8_t>(40, 'c')});
    const auto snapshot = picture::ClipboardSnapshot::take(clip, 100);
    clip.clear();
    snapshot.restore(clip);
    const auto after = clip.copyAll(SIZE_MAX);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].name, "First");
    EXPECT_EQ(after[1].name, "Last");
}

// A clipboard another program keeps open: nothing can be read or placed, only emptied.
class BusyClipboard : public SimClipboard {
public:
    std::vector<Entry> copyAll(size_t) override { throw platform::PlatformError("cannot open the clipboard"); }
    void replaceAll(const std::vector<Entry>&) override { throw platform::PlatformError("cannot open the clipboard"); }
};

TEST(ClipboardSnapshot, AClipboardThatCannotBeReadOrWrittenDoesNotKeepTheAddinsPicture) {
    BusyClipboard clip;
    const auto snapshot = picture::ClipboardSnapshot::take(clip);
    EXPECT_EQ(snapshot.size(), 0u);
    clip.setPicture({cf::kBitmap, {1, 2, 3}}, cf::kBitmap);
    EXPECT_NO_THROW(snapshot.restore(clip));
    EXPECT_FALSE(clip.hasFormat(cf::kBitmap));
}

}  // namespace
}  // namespace qm::sim
