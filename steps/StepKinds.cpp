#include "steps/StepKinds.h"

#include <array>
#include <iterator>
#include <vector>

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

// The actions other than the clicks, which come from kClickKinds.
constexpr WindowActionRow kWindowActions[] = {
    {WindowAction::Activate, "Activate", ClickKind::None, WindowPoint::Unused},
    {WindowAction::Move, "Move", ClickKind::None, WindowPoint::OnScreen},
    {WindowAction::Size, "Size", ClickKind::None, WindowPoint::Size},
    {WindowAction::Minimize, "Minimize", ClickKind::None, WindowPoint::Unused},
    {WindowAction::Maximize, "Maximize", ClickKind::None, WindowPoint::Unused},
    {WindowAction::Restore, "Restore", ClickKind::None, WindowPoint::Unused},
    {WindowAction::Close, "Close", ClickKind::None, WindowPoint::Unused},
};

constexpr struct {
    WindowPoint point;
    const char* label;
} kWindowPointLabels[] = {
    {WindowPoint::InWindow, "Point in the window:"},
    {WindowPoint::OnScreen, "Screen position:"},
    {WindowPoint::Size, "Width / height:"},
};

std::vector<WindowActionRow> AllWindowActions() {
    std::vector<WindowActionRow> rows;
    for (const ClickKindRow& click : kClickKinds) {
        rows.push_back({WindowAction::Click, click.name, click.kind, WindowPoint::InWindow});
    }
    rows.insert(rows.end(), std::begin(kWindowActions), std::end(kWindowActions));
    return rows;
}
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

std::span<const WindowActionRow> WindowActions() {
    static const std::vector<WindowActionRow> rows = AllWindowActions();
    return rows;
}

const WindowActionRow* FindWindowAction(std::string_view text) {
    return RowNamed(WindowActions(), text);
}

const char* WindowPointLabel(WindowPoint point) {
    for (const auto& row : kWindowPointLabels) {
        if (row.point == point) {
            return row.label;
        }
    }
    return "";
}

std::span<const ImageDoRow> ImageDos() {
    return kImageDos;
}

const ImageDoRow* FindImageDo(std::string_view text) {
    return RowNamed(ImageDos(), text);
}
