// Member names and DISPIDs of the fake Excel.
#include "sim/com/members.h"

#include <array>
#include <cwctype>

namespace qm::fake {
namespace {

struct Entry {
    const wchar_t* wide;
    const char* narrow;
    Member member;
};

#define QM_MEMBER(name) Entry{L## #name, #name, Member::name}
constexpr std::array kMembers = {
    QM_MEMBER(Item),           QM_MEMBER(ActiveSheet),       QM_MEMBER(ActiveWindow),
    QM_MEMBER(ActiveWorkbook), QM_MEMBER(Add),               QM_MEMBER(AddShape),
    QM_MEMBER(AutoShapeType),  QM_MEMBER(AutoSize),          QM_MEMBER(BeginGroup),
    QM_MEMBER(Caption),        QM_MEMBER(Cells),             QM_MEMBER(CentimetersToPoints),
    QM_MEMBER(ColumnWidth),    QM_MEMBER(CommandBar),        QM_MEMBER(CommandBars),
    QM_MEMBER(Connect),        QM_MEMBER(Controls),          QM_MEMBER(Copy),
    QM_MEMBER(CopyPicture),    QM_MEMBER(Count),             QM_MEMBER(Delete),
    QM_MEMBER(DisplayFormulaBar), QM_MEMBER(DisplayFullScreen), QM_MEMBER(DisplayGridlines),
    QM_MEMBER(EditingType),    QM_MEMBER(Enabled),           QM_MEMBER(Execute),
    QM_MEMBER(FaceId),         QM_MEMBER(Fill),              QM_MEMBER(FindControl),
    QM_MEMBER(GetSaveAsFilename), QM_MEMBER(Height),         QM_MEMBER(Id),
    QM_MEMBER(IncrementRotation), QM_MEMBER(Index),          QM_MEMBER(Left),
    QM_MEMBER(Line),           QM_MEMBER(Name),              QM_MEMBER(NameLocal),
    QM_MEMBER(Nodes),          QM_MEMBER(OnAction),          QM_MEMBER(PasteFace),
    QM_MEMBER(Points),         QM_MEMBER(Position),          QM_MEMBER(ProgId),
    QM_MEMBER(Protection),     QM_MEMBER(Range),             QM_MEMBER(Rotation),
    QM_MEMBER(RowHeight),      QM_MEMBER(RowIndex),          QM_MEMBER(ScreenUpdating),
    QM_MEMBER(SegmentType),    QM_MEMBER(Select),            QM_MEMBER(Selection),
    QM_MEMBER(SetBackgroundPicture), QM_MEMBER(SetPosition), QM_MEMBER(Shadow),
    QM_MEMBER(ShapeRange),     QM_MEMBER(Shapes),            QM_MEMBER(Sheets),
    QM_MEMBER(State),          QM_MEMBER(Style),             QM_MEMBER(Tag),
    QM_MEMBER(ThreeD),         QM_MEMBER(Top),               QM_MEMBER(Type),
    QM_MEMBER(Version),        QM_MEMBER(VerticalAlignment), QM_MEMBER(Visible),
    QM_MEMBER(Width),          QM_MEMBER(ZOrder),            QM_MEMBER(ZOrderPosition),
};
#undef QM_MEMBER

// Every member has its entry: Item, then the numbered names without gaps.
static_assert(kMembers.size() ==
              2 + static_cast<size_t>(static_cast<DISPID>(Member::ZOrderPosition) - static_cast<DISPID>(Member::ActiveSheet)));

bool sameName(std::wstring_view a, const wchar_t* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    }
    return i == a.size() && b[i] == L'\0';
}

}  // namespace

std::optional<Member> memberByName(std::wstring_view name) {
    for (const Entry& e : kMembers) {
        if (sameName(name, e.wide)) return e.member;
    }
    return std::nullopt;
}

std::optional<Member> memberById(DISPID id) {
    for (const Entry& e : kMembers) {
        if (static_cast<DISPID>(e.member) == id) return e.member;
    }
    return std::nullopt;
}

const char* memberName(Member m) {
    for (const Entry& e : kMembers) {
        if (e.member == m) return e.narrow;
    }
    return "?";
}

}  // namespace qm::fake
