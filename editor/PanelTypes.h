// The editor panel's step types, one row each: the container that shows the type, the functions
// that fill its choosers, show a record in it and store it into a record, the control events it
// handles and what F9 does while it is shown. GetValues, SaveActualRecord, the type switch, F9
// and the event loop reach a type only through its row. Each row lives in the file of its type
// (PanelInput, PanelComport, PanelFlow, PanelWait, PanelWindow, PanelImage); PanelTypes.cpp lists
// them.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "editor/EditorPanel.h"
#include "platform/pictures.h"
#include "steps/PictureSearch.h"
#include "steps/PictureValue.h"
#include "steps/StepRecord.h"

// A control of a type's container whose every notification calls `handle`.
struct PanelEvent {
    int control;
    int (*handle)(int eventType);
};

// The title of the refusals of a value for the types whose missing inputs are "Input required".
constexpr const char* WrongValues = "Wrong values";

struct PanelType {
    int32_t type = 0;
    int container = 0;
    // Fills the container's choosers once at start-up; nullptr: nothing to fill.
    void (*fill)() = nullptr;
    // Writes the record's fields into the container's controls; `stepCount` is the length of the
    // list, for the step-number choosers.
    void (*show)(const StepRecord& step, int stepCount) = nullptr;
    // Sets the type's fields from the controls in record order, each checked right after it is
    // set. A refusal shows its box and returns false: the walk stops there.
    bool (*store)(StepRecord& step) = nullptr;
    std::span<const PanelEvent> events;
    void (*capture)() = nullptr;         // F9 while the container is shown; nullptr: nothing
    bool captureHidden = false;          // F9 captures also while another type's container is shown
    const char* boxTitle = WrongValues;  // the title of the type's refusals of a value
};

extern const PanelType MousePanel;
extern const PanelType KeyboardPanel;
extern const PanelType DelayPanel;
extern const PanelType LoopPanel;
extern const PanelType ComportPanel;
extern const PanelType JumpPanel;
extern const PanelType StatePanel;
extern const PanelType ExecutePanel;
extern const PanelType MessagePanel;
extern const PanelType WaitPanel;
extern const PanelType WindowPanel;
extern const PanelType ImagePanel;

// Every row in type order, which is also the order of the types' fields in the record.
std::span<const PanelType* const> PanelTypes();
// The row of a type, nullptr when it has none.
const PanelType* PanelTypeOf(int32_t type);

// [SECTION] What the rows share

// A refusal of the panel's values: the box (the main window stays on top meanwhile) and false.
// Unattended nobody could correct the input: the refusal alone stops the command.
bool Refuse(const char* title, std::string_view text);
// "Input required" with the message when the text is empty; true when it is not.
bool Required(const std::string& text, const char* message);
// Sets `field` to the integer value of `text`, then Required(text, message).
bool StoreInteger(int32_t& field, const std::string& text, const char* message);
// A ";" ends a field of a step file: a text holding one would come back cut, the rest in the
// next fields, and the step another one. Sets `field` to `text` when it holds none; else the
// refusal "The WHAT must not contain ";"" (and `hint` after it) in the box `title`, and the field
// keeps what it held.
bool StoreText(std::string& field, const std::string& text, const char* title,
               std::string_view what, std::string_view hint = {});
// The picture a "V FILE" value names can be looked for: its file (where a step file of the list
// would find it) reads as a picture that has two colours and fits on the screen. Otherwise the
// refusal that names the file, in the box `title`.
bool PictureUsable(const PictureValue& picture, const char* title);
// The picture's pixels as the search takes them.
PixelsView ViewOf(const platform::Picture& picture);
// Reads the value's picture (PicturePath from the step file) and checks that it can be looked for
// on the desktop of now (CheckPicture). False otherwise, with CantReadPictureText or
// PictureFaultText in `failure`; a file name that names a device (NamesDevice) cannot be read and
// is not opened. The Image panel's PictureUsable and the player use it.
bool ReadSearchablePicture(const PictureValue& value, std::string_view stepFile,
                           platform::Picture& picture, std::string& failure);
// A chooser filled with the names of a word list's rows, in their order.
template <typename Row>
void FillChooserWithNames(int control, std::span<const Row> rows) {
    std::vector<std::string> names;
    for (const Row& row : rows) {
        names.emplace_back(row.name);
    }
    FillChooser(control, names);
}
