// Which window a Window step acts on, among the top-level windows of other programs.
#pragma once

#include <string_view>
#include <vector>

#include "steps/WaitValues.h"

// Among `windows`, listed nearest the top of the z-order first, the first whose `title` contains
// `text` with letter case ignored; nullptr when none does. An empty text names no window.
template <class Window>
const Window* ChooseWindow(const std::vector<Window>& windows, std::string_view text) {
    if (text.empty()) {
        return nullptr;
    }
    for (const Window& window : windows) {
        if (TitleContains(window.title, text)) {
            return &window;
        }
    }
    return nullptr;
}
