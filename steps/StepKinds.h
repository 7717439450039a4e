// The word lists of step fields: click kinds, COM types, what a Window step and an Image step do.
// A record and a file hold the word ("L_Click", "Hex"); the player reads it into its enum once,
// when it plays the step, and compares enums from then on. The choosers are filled from the same
// rows.
#pragma once

#include <span>
#include <string_view>
#include <type_traits>

// A row of a word list whose word is its name; the first row whose name equals `text` exactly,
// nullptr when none does.
template <typename Row>
const Row* RowNamed(std::span<const Row> rows, std::string_view text) {
    for (const Row& row : rows) {
        if (text == row.name) {
            return &row;
        }
    }
    return nullptr;
}

// The first of `rows` whose `member` equals `key`, nullptr when none does. Row and Key come from
// `member`, so a plain array of rows can be passed as it is.
template <typename Row, typename Key>
const Row* RowWith(std::type_identity_t<std::span<const Row>> rows, Key Row::*member,
                   const std::type_identity_t<Key>& key) {
    for (const Row& row : rows) {
        if (row.*member == key) {
            return &row;
        }
    }
    return nullptr;
}

// [SECTION] Click kinds (Mouse steps)

enum class ClickKind { None, Left, LeftDouble, Right, Middle };

struct ClickKindRow {
    ClickKind kind;
    const char* name;  // "L_Click"
};

// In the click chooser's order.
std::span<const ClickKindRow> ClickKinds();
// The kind whose word is exactly `text` (letter case counts); None otherwise.
ClickKind ReadClickKind(std::string_view text);
// The word of a kind; "" for None.
const char* ClickKindName(ClickKind kind);

// [SECTION] COM types (Comport steps)

enum class ComType { None, Initialise, String, Hex, Byte };

struct ComTypeRow {
    ComType type;
    const char* name;  // "Initialise"
    const char* hint;  // what the panel shows above the value: "Hex (F4 03 28 ..)"
};

// In the COM type chooser's order.
std::span<const ComTypeRow> ComTypes();
// The type whose word is exactly `text`; None otherwise.
ComType ReadComType(std::string_view text);

// [SECTION] Window actions (Window steps)

enum class WindowAction { None, Click, Activate, Move, Size, Minimize, Maximize, Restore, Close };

// What a Window step's X and Y are.
enum class WindowPoint {
    Unused,
    InWindow,  // a point counted from the top-left corner of the window's client area
    OnScreen,  // the screen point of the window's outer top-left corner
    Size,      // the window's outer width and height
};

struct WindowActionRow {
    WindowAction action;
    const char* name;  // "Activate"; a click is named by its click kind ("L_Click")
    ClickKind click;   // None but for the clicks
    WindowPoint point;
};

// The clicks, in the click kinds' order, then Activate, Move, Size, Minimize, Maximize, Restore
// and Close: the chooser's order.
std::span<const WindowActionRow> WindowActions();
// The row whose word is exactly `text` (letter case counts); nullptr when none.
const WindowActionRow* FindWindowAction(std::string_view text);
// What the panel's label of X and Y says ("Point in the window:"); "" for Unused.
const char* WindowPointLabel(WindowPoint point);
// [SECTION] What an Image step does at the picture it finds

struct ImageDoRow {
    ClickKind click;   // None: the pointer is moved only
    const char* name;  // a click kind's word ("L_Click") or "Move"
};

// The click kinds in their order, then "Move": the chooser's order.
std::span<const ImageDoRow> ImageDos();
// The row whose word is exactly `text` (letter case counts); nullptr when none.
const ImageDoRow* FindImageDo(std::string_view text);
