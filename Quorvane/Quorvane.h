// The main module: start-up, the event loop and the background threads.
#pragma once

#include "platform/window.h"

// Start-up up to the threads: program-wide values, fonts, images, FormMAIN with its menu bar and
// editor panel, choosers filled, step panel hidden. Tests call this alone.
void StartUp();
// Starts the player thread and the mouse-position thread.
void StartBackgroundThreads();
// Handles messages and events until the process ends.
[[noreturn]] void RunEventLoop();
// Dispatches one event by the event and dispatch tables; StartUp makes it the platform's event
// handler.
void HandleEvent(const platform::Event& event);
// Handles every message and event already waiting, without blocking.
void SettleStartUp();

// A Posted event of the mouse-position thread: the pointer has moved.
constexpr int kPointerMoved = 2000;

// Looks at the cursor every `period` ms, forever; when it has moved, keeps the position and posts
// kPointerMoved unless one is still waiting, so that a long box leaves no backlog.
void MousePositionThread(int period);
// Shows the latest position the mouse-position thread kept in TextMouseX/TextMouseY (main thread).
void ShowPointerPosition();
