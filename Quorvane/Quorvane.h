// The main module: start-up, the event loop and the background threads.
#pragma once

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
// Handles every event already waiting, without blocking.
void SettleStartUp();

// A Posted event of the mouse-position thread: the pointer is at `value`, `value2`.
constexpr int kPointerMoved = 2000;

// Posts the cursor position for TextMouseX/TextMouseY every `period` ms when it has moved, forever.
void MousePositionThread(int period);
