// What the player's own files share: the checks between steps, the redirect that Loop and Jump
// steps leave for the run loop, the idle wake-up and the telegram encodings.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// [SECTION] Between steps
// Escape check: an Escape the user pressed during the run ends it.
void CheckUserEscape();
// Holds while the run is paused, polling every 100 ms; returns early when the run is stopped.
void PauseWait();

// [SECTION] Redirect
// Loop and Jump steps do not play their target themselves: they name the element that is to be
// played next at once, and the run loop plays it after the usual checks. This keeps every step
// at the same depth, however often a list jumps back.
void PlayNextAtOnce(int index);
// The element named by PlayNextAtOnce since the last call, or -1.
int TakeNextAtOnce();
// True when `number` is a step number of the list (1 to the number of steps).
bool IsStepNumber(int32_t number);

// [SECTION] Idle player
// Wakes the idle player thread after PlayRunning was set to 1.
void WakePlayer();
// Blocks the player thread without using CPU until PlayRunning is 1.
void WaitForRun();

// [SECTION] Run controls
// The buttons and menu items of a paused run (Pause, and the Comport failures).
void ShowPausedControls();
// The buttons and menu items of an idle player (Stop, and the end of a run).
void ShowIdleControls();

// [SECTION] Telegrams
// The bytes a Comport step sends for its ComType. False for a Hex or Byte telegram with a wrong
// token or none at all; `error` then says what is wrong.
bool EncodeTelegram(std::string_view comType, std::string_view value, std::string& bytes,
                    std::string& error);
