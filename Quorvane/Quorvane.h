// The main module: start-up, the event loop and the small procedures every part uses.
#pragma once

#include <string_view>

#include "platform/window.h"

// Runs start-up steps 1 to 13 (everything before the event loop).
void StartUp();
// Takes events and dispatches them until the process ends.
[[noreturn]] void RunEventLoop();
// Dispatches one event by the event and dispatch tables.
void HandleEvent(const platform::Event& event);

// Information box with one OK button while FormMAIN is not always on top. Any thread.
void ShowMessage(std::string_view title, std::string_view text);
// The text for 600 ms in a small borderless window owned by `owner`.
void ShowNotice(std::string_view text, int owner);
// 1 hides, 0 shows the step panel with its frame and buttons.
void HideStepPanel(int state);
// Writes the cursor position into TextMouseX/TextMouseY every `period` ms, forever.
void MousePositionThread(int period);
// Copies the cursor position into StringX and StringY (F9).
void CaptureMousePosition();
