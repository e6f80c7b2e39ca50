// Scripts name the add-in's captions and expect its messages in English. Run on a Japanese
// system (quillmark --locale Japan), the same script still holds: the runner reads those
// English texts through the add-in's string table as the Japanese texts the user sees.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qm::cli {

// The Japanese text of the string table's entry whose English text is `english`; nothing
// when no entry has that English text.
std::optional<std::string> japaneseTextOf(std::string_view english);

// A control path ("QM_MENU > &File > &Save Picture") with each step that is an English text
// of the table in Japanese ("QM_MENU > ファイル(&F) > 選択オブジェクトを画像として保存(&S)").
std::string japanesePath(std::string_view path);

}  // namespace qm::cli
