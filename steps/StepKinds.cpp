#include "steps/StepKinds.h"

#include <array>
#include <iterator>

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

constexpr auto kImageDos = [] {
    std::array<ImageDoRow, std::size(kClickKinds) + 1> rows{};
    for (size_t i = 0; i < std::size(kClickKinds); ++i) {
        rows[i] = {kClickKinds[i].kind, kClickKinds[i].name};
    }
    rows.back() = {ClickKind::None, "Move"};
    return rows;
}();

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

std::span<const ImageDoRow> ImageDos() {
    return kImageDos;
}

const ImageDoRow* FindImageDo(std::string_view text) {
    return RowNamed(ImageDos(), text);
}
