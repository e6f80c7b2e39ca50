// The bilingual string table: relative number, English text (block 2000), Japanese text
// (block 1000). UTF-8; "\n" is one line feed. The one source of every caption and message.
#include "core/text/text.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace qm::text {
namespace {

struct Entry {
    int32_t relative;
    const char* english;
    const char* japanese;
};

constexpr Entry kTable[] = {
    {0, "QM", "QM"},
    {1, "Goto &Draw mode", "Drawモードへ移行(&D)"},
    {2, "&Setting", "設定(&S)"},
    {3, "Online &Help", "オンラインヘルプ(&H)"},
    {40, "&File", "ファイル(&F)"},
    {41, "&Save Picture", "選択オブジェクトを画像として保存(&S)"},
    {42, "E&xit Draw mode", "Drawモードを終了して戻る(&X)"},
    {43, "&Edit", "編集(&E)"},
    {44, "&Object List", "オブジェクト一覧と順序／位置の変更(&O)"},
    {45, "&View", "表示(&V)"},
    {46, "&Grid View", "グリッドの表示(&G)"},
    {47, "&Back-color", "背景色(&B)"},
    {48, "&Non", "なし(&N)"},
    {49, "&Color", "色を指定(&C)"},
    {50, "&Help", "ヘルプ(&H)"},
    {51, "One-&point advice", "ワンポイントアドバイス(&P)"},
    {52, "Online &Help", "オンラインヘルプ(&H)"},
    {60, "Add text", "テキストの追加"},
    {61, "Add WordArt", "ワードアートの追加"},
    {62, "Add Shapes", "オートシェイプの追加"},
    {63, "Add Images", "図の追加"},
    {64, "Add Other", "その他の追加"},
    {65, "Setting Format", "共通書式の設定"},
    {66, "Setting Position", "配置の設定"},
    {67, "Setting Shadow", "影の設定"},
    {68, "Setting 3D", "3Dの設定"},
    {70, "&Default Shape", "既定値に設定(&D)"},
    {71, "A&uto size", "自動サイズ調整(&U)"},
    {72, "Valign &Up", "上詰め(&U)"},
    {73, "Valign &Center", "中央揃え(&C)"},
    {74, "Valign &Bottom", "下詰め(&B)"},
    {75, "Valign &Justify", "均等割付(&J)"},
    {76, "&Lock of object selection", "オブジェクトの選択をロックする(&L)"},
    {100, "Object List", "オブジェクト一覧と順序／位置の変更"},
    {101, "ToFront", "最前面へ移動"},
    {102, "Forward", "前面へ移動"},
    {103, "Backward", "背面へ移動"},
    {104, "ToBack", "最背面へ移動"},
    {105, "Left", "左位置"},
    {106, "Top", "上位置"},
    {107, "Width", "幅"},
    {108, "Height", "高さ"},
    {109, "Angle", "角度"},
    {110, "Close", "閉じる"},
    {111, "cm", "cm"},
    {112, "", "°"},
    {200, "Setting for Quillmark in Excel", "Quillmark in Excelの設定"},
    {201, "Grid-size on 'Draw' Sheet", "描画シートのグリッドサイズ"},
    {202, "Width", "幅"},
    {203, "Height", "高さ"},
    {204, "Default Action", "デフォルトアクション"},
    {205, "On 'Object selection'", "「オブジェクト選択」をONにする"},
    {206, "On 'Fit Grid'", "「グリッドに合わせる」をONにする"},
    {207, "On 'Fit Shapes'", "「図形に位置を合わせる」をONにする"},
    {208, "Commandbar displayed in Draw mode", "Drawモードで表示するコマンドバー"},
    {209, "Back-color on 'Draw' Sheet", "描画用シートの背景色"},
    {210, "Colored", "色を付ける"},
    {211, "Color", "色"},
    {212, "Other", "その他"},
    {213, "Show Barname", "バーの先頭に説明を表示する"},
    {214, "FormulaBar", "数式バー"},
    {215, "Displays in Draw mode. ", "Drawモードで表示する"},
    {216, "OK", "OK"},
    {217, "Cancel", "キャンセル"},
    {300, "One-point advice", "ワンポイントアドバイス"},
    {301, "Display next time", "次回Drawモード移行時にワンポイントを表示する"},
    {302, "Close", "閉じる"},
    {500, "Shifts to Draw mode.\n\nCreate new-seat for drawing?", "Drawモードに移行します。\n\n描画用シートを新規に作成しますか？"},
    {501, "The grid size is illegal.", "グリッドサイズが不正です。"},
    {502, "When new seat for drawing is create, the grid-size is reflected.", "グリッドサイズは、次回描画用シートを作成した際に反映されます。"},
    {505, "The object has not been selected.\n\nWhen OK is pushed, processing is interrupted.", "オブジェクトが選択されていません。\n\nOKを押すと処理を中断します。"},
    {506, "It tries to preserve one cell as a picture file. \n\nDo you continue?", "１つのセルを画像ファイルとして保存しようとしています。\n\n続けますか？"},
    {900, "&NVK", "NVK(&N)"},
    {901, "&Quillmark", "クイルマーク(&Q)"},
    {902, "&Developer's Site", "開発元ホームページへ(&D)"},
};

}  // namespace

std::optional<std::string_view> storedText(int32_t number) {
    const int32_t base = number >= kEnglishBase ? kEnglishBase : kJapaneseBase;
    if (number < kJapaneseBase || number >= kEnglishBase + 1000) return std::nullopt;
    const int32_t relative = number - base;
    auto it = std::lower_bound(std::begin(kTable), std::end(kTable), relative,
                               [](const Entry& e, int32_t r) { return e.relative < r; });
    if (it == std::end(kTable) || it->relative != relative) return std::nullopt;
    return std::string_view(base == kEnglishBase ? it->english : it->japanese);
}

std::vector<int32_t> relativeNumbers() {
    std::vector<int32_t> out;
    out.reserve(std::size(kTable));
    for (const Entry& e : kTable) out.push_back(e.relative);
    return out;
}

}  // namespace qm::text
