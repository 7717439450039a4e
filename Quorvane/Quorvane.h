// The main module: start-up, the event loop and the small procedures every part uses.
#pragma once

#include <string_view>

#include "platform/window.h"

// Start-up up to the threads: program-wide values, fonts, images, FormMAIN with its menu bar and
// editor panel, choosers filled, step panel hidden. Tests call this alone.
void StartUp();
// Starts the player thread and the mouse-position thread.
void StartBackgroundThreads();
// Takes events and dispatches them until the process ends.
[[noreturn]] void RunEventLoop();
// Dispatches one event by the event and dispatch tables.
void HandleEvent(const platform::Event& event);

// The thread that owns the windows; boxes shown from any other thread get no owner.
void RememberMainThread();
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
