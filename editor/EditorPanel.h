// The step editor panel inside the main window: building it, switching the step type, showing
// the current record in it and storing what the user typed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Drop-down lists
// Text of the selected entry, "" when none is selected.
std::string ChooserText(int control);
// "" clears the selection; another text selects the entry equal to it ignoring letter case;
// no match leaves the selection as it was.
void SetChooserText(int control, std::string_view text);
// SetChooserText for a step-number chooser filled with "1" to `count`: selects the entry of
// `number`; a number outside 1 to `count` leaves the selection as it was.
void SetStepNumberChooser(int control, int32_t number, int count);

// Panel
void BuildEditorPanel();
int FormMAIN_ComboType_Event(int eventType);
// Shows the current element of RList in the panel (the first when none is current).
int GetValues();
int FillStepCombos();
// Validates the panel and stores it into the step whose number FrameStep shows. 1 stored, 0
// refused (its message has been shown).
int SaveActualRecord();

// Choosers
int Combo_KeyboardType_Events(int eventType);
int Combo_COMtype_Events(int eventType);
// The Wait value's label says what the value is for the kind chosen.
int ComboWaitFor_Events(int eventType);
// F9 while the Wait container is shown: the title of the window under the pointer, or the
// pointer's pixel as "X Y RRGGBB", into the value.
void CaptureWaitValue();
int SelectExecuteFile();
