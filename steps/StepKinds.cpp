#include "steps/StepKinds.h"

namespace {

constexpr ClickKindRow kClickKinds[] = {
    {ClickKind::Left, "L_Click"},
    {ClickKind::LeftDouble, "Ldbl_Click"},
    {ClickKind::Right, "R_Click"},
    {ClickKind::Middle, "M_Click"},
};

constexpr ComTypeRow kComTypes[] = {
    {ComType::Initialise, "Initialise", "Initialise (9600 N 8 1)"},
    {ComType::String, "String", "String (ATDT...)"},
    {ComType::Hex, "Hex", "Hex (F4 03 28 ..)"},
    {ComType::Byte, "Byte", "Byte (128 255 1 ...)"},
};

}  // namespace

std::span<const ClickKindRow> ClickKinds() {
    return kClickKinds;
}

ClickKind ReadClickKind(std::string_view text) {
    const ClickKindRow* row = RowNamed(ClickKinds(), text);
    return row != nullptr ? row->kind : ClickKind::None;
}

const char* ClickKindName(ClickKind kind) {
    for (const ClickKindRow& row : kClickKinds) {
        if (row.kind == kind) {
            return row.name;
        }
    }
    return "";
}

std::span<const ComTypeRow> ComTypes() {
    return kComTypes;
}

ComType ReadComType(std::string_view text) {
    const ComTypeRow* row = RowNamed(ComTypes(), text);
    return row != nullptr ? row->type : ComType::None;
}
