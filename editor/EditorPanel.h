// The step editor panel inside the main window: building it, switching the step type, showing
// the current record in it and storing what the user typed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Drop-down lists
// Text of the selected entry, "" when none is selected.
std::string ChooserText(int control);
// "" clears the selection; another text selects the entry equal to it ignoring letter case;
// no match leaves the selection as it was.
void SetChooserText(int control, std::string_view text);
// Fills a chooser with the entries and selects the first.
void FillChooser(int control, const std::vector<std::string>& entries);
// SetChooserText for a step-number chooser filled with "1" to `count`: selects the entry of
// `number`; a number outside 1 to `count` leaves the selection as it was.
void SetStepNumberChooser(int control, int32_t number, int count);

// Panel
// Creates the panel's controls inside ContainerStep and fills its choosers from the tables of
// step types and kinds.
void BuildEditorPanel();
int FormMAIN_ComboType_Event(int eventType);
// Shows the container of `type` and hides every other; 0 hides them all.
void ShowTypeContainer(int32_t type);
// Shows the current element of RList in the panel (the first when none is current).
int GetValues();
int FillStepCombos();
// Validates the panel and stores it into the step whose number FrameStep shows. 1 stored, 0
// refused (its message has been shown).
int SaveActualRecord();

// The containers' own controls and F9
// A notification of a control of a type container goes to the handler its row names; false
// when no row handles the control.
bool PanelControlEvent(int control, int eventType);
// F9: the pointer's position into the Mouse inputs, whatever container is shown, and what the
// shown container takes from the screen (a Wait step's title, pixel or picture, a Window step's
// window, an Image step's picture).
void CaptureWithF9();
int Combo_KeyboardType_Events(int eventType);
int Combo_COMtype_Events(int eventType);
// The Capture button, and F9 while the Image container is shown: a picture of a part of the
// screen into the Image value.
int ButtonImageCapture_Events(int eventType);
// A picture of a part of the screen: the screen freezes, the user drags out a rectangle (Escape
// cancels) and saves it as a PNG file, offered in the step file's folder under the first free
// name "image1.png", "image2.png", ...; the input `value` then holds "0 NAME" (the bare name when
// the file lies in the step file's folder). Refusals in a box titled `title`. Nothing happens
// while `value` is disabled: a run shows its steps in the panel meanwhile.
void CapturePicture(int value, const char* title);
int SelectExecuteFile();
