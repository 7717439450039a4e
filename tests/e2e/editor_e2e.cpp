// The step editor of Quorvane.exe, driven by control number as a user would: File > "New", the
// type switch, refused inputs with their boxes, a list of five steps built with the buttons and
// walked through, deleting, the step-number popup, F9 capture, About and Exit.
// Options: --program=<Quorvane.exe> --screenshots=<folder for the editor-*.bmp pictures>.
#include <array>
#include <string>
#include <vector>

#include "Driver.h"
#include "Forms/FormMAIN.h"

using namespace e2e;

namespace {

// [SECTION] Index
// Controls and choosers, what a step shows, File > New and the type switch, building five steps
// with the buttons, moving through the list, the step-number popup, F9, deleting, About and Exit.

// [SECTION] Controls and choosers

const std::array<const char*, 12> TypeNames = {"1 Mouse",   "2 Keyboard", "3 Delay",   "4 Loop",
                                               "5 Comport", "6 Jump",     "7 State",   "8 Execute",
                                               "9 Message", "10 Wait",    "11 Window", "12 Image"};
// The container of each type, in type order.
constexpr std::array<int, 12> TypeContainers = {ContainerMouse, ContainerKeyboard, ContainerDelay,
                                                ContainerLoop,  ContainerComport,  ContainerJump,
                                                ContainerState, ContainerExecute,  ContainerMessage,
                                                ContainerWait,  ContainerWindow,   ContainerImage};

Window Main = nullptr;
std::string ScreenshotFolder;

Window Control(int number) {
    return FindControl(Main, number);
}

// What the user reads in a control: the selected entry of a drop-down list, else its text.
std::string Shown(int number) {
    Window control = Control(number);
    return ClassName(control) == "ComboBox" ? SelectedEntry(control) : Text(control);
}

std::vector<std::string> StepNumbers(int count) {
    std::vector<std::string> numbers;
    for (int number = 1; number <= count; ++number) {
        numbers.push_back(std::to_string(number));
    }
    return numbers;
}

int VisibleContainer() {
    for (int container : TypeContainers) {
        if (IsVisible(Control(container))) {
            return container;
        }
    }
    return 0;
}

// Exactly this container of them all is visible.
void CheckOnlyContainer(std::string_view context, int expected) {
    for (int container : TypeContainers) {
        CheckEqual(std::string(context) + ": container " + std::to_string(container) + " visible",
                   container == expected, IsVisible(Control(container)));
    }
}

void Pick(int combo, const std::string& entry) {
    const std::vector<std::string> entries = Entries(Control(combo));
    for (size_t index = 0; index < entries.size(); ++index) {
        if (entries[index] == entry) {
            PickEntry(Control(combo), static_cast<int>(index));
            return;
        }
    }
    Check(false, Numbered("entry offered by chooser", combo), entry, Join(entries, ","));
}

// Picks a step type and waits until its container shows.
void ChooseType(int type) {
    Pick(ComboType, TypeNames[static_cast<size_t>(type - 1)]);
    const int container = TypeContainers[static_cast<size_t>(type - 1)];
    WaitUntil([&] { return VisibleContainer() == container; });
}

void Press(int button) {
    ClickButton(Control(button));
}

// [SECTION] What a step shows

struct Field {
    int control;
    std::string text;
};

struct StepView {
    std::string frame;  // caption of FrameStep: the step number
    int type;
    std::vector<Field> fields;  // StringDescription among them
};

bool Showing(const StepView& view) {
    if (Text(Control(FrameStep)) != view.frame ||
        SelectedEntry(Control(ComboType)) != TypeNames[static_cast<size_t>(view.type - 1)] ||
        VisibleContainer() != TypeContainers[static_cast<size_t>(view.type - 1)]) {
        return false;
    }
    for (const Field& field : view.fields) {
        if (Shown(field.control) != field.text) {
            return false;
        }
    }
    return true;
}

// Waits until the panel shows the step, then checks every part of it by name.
void CheckShows(std::string_view context, const StepView& view, int steps) {
    WaitUntil([&] { return Showing(view); });
    const std::string where = std::string(context) + " (step " + view.frame + ")";
    CheckEqual(where + ": frame caption", view.frame, Text(Control(FrameStep)));
    CheckEqual(where + ": step type", std::string(TypeNames[static_cast<size_t>(view.type - 1)]),
               SelectedEntry(Control(ComboType)));
    CheckOnlyContainer(where, TypeContainers[static_cast<size_t>(view.type - 1)]);
    for (const Field& field : view.fields) {
        CheckEqual(where + ": " + Numbered("control", field.control), field.text,
                   Shown(field.control));
    }
    CheckEqual(where + ": loop-from entries", Join(StepNumbers(steps), ","),
               Join(Entries(Control(ComboLoopFrom)), ","));
    CheckEqual(where + ": jump-to entries", Join(StepNumbers(steps), ","),
               Join(Entries(Control(ComboJumpTo)), ","));
}

StepView NewStep(const std::string& frame) {
    return {frame, 3, {{StringDelay, "0.5"}, {StringDescription, ""}}};
}

// The list built by the tests, as each of its steps is shown.
const std::array<StepView, 5> FiveSteps = {{
    {"1",
     1,
     {{ComboClick, "R_Click"}, {StringX, "120"}, {StringY, "80"}, {StringDescription, "click"}}},
    {"2", 7, {{StringStateText, "state text"}, {StringDescription, "note"}}},
    {"3",
     2,
     {{Combo_KeyboardType, "String"},
      {StringKeyText, "hello"},
      {TextKeyLabel, "String:"},
      {StringDescription, "type"}}},
    {"4",
     5,
     {{ComboPort, "COM3"},
      {Combo_COMtype, "Initialise"},
      {StringTelegram, "9600 N 8 1"},
      {TextComHint, "Initialise (9600 N 8 1)"},
      {StringDescription, "port"}}},
    {"5", 3, {{StringDelay, "2.5"}, {StringDescription, "wait"}}},
}};

void Screenshot(const std::string& name) {
    if (ScreenshotFolder.empty()) {
        return;
    }
    const std::string path = ScreenshotFolder + "\\" + name + ".bmp";
    Check(SaveSettledScreenshot(Main, path), "screenshot " + name, path, "not saved");
}

// [SECTION] File > New and the type switch

void CheckNewDocument() {
    ChooseMenuItem(Main, MenuNew);
    WaitUntil([] { return IsVisible(Control(FrameStep)); });
    CheckShows("File > New", NewStep("1"), 1);
    for (int shown : {ButtonPlay, ButtonPause, ButtonStop, FrameStep, ButtonFirst, ButtonPrevious,
                      ButtonSelectStep, ButtonNext, ButtonLast, ButtonNewEnd, ButtonNewFront,
                      ButtonDelete, ContainerStep}) {
        CheckEqual(Numbered("File > New shows control", shown), true, IsVisible(Control(shown)));
    }
    CheckEqual("File > New: file name text", std::string(), Text(Control(TextFile)));
    const std::array<std::array<int, 2>, 4> menu = {
        {{MenuSave, 0}, {MenuSaveAs, 1}, {MenuPlay, 1}, {MenuPlayFromCurrent, 1}}};
    for (const auto& [item, state] : menu) {
        CheckEqual(Numbered("File > New: menu item state", item), state, MenuItemState(Main, item));
    }
}

void CheckDeleteOnOneStep() {
    SetText(Control(StringDescription), "only");
    Press(ButtonDelete);
    ExpectBox("delete on a one-step list", "Info", "Only one step left! Can't delete actual step!");
    CheckEqual("delete on a one-step list: frame caption", std::string("1"),
               Text(Control(FrameStep)));
    CheckEqual("delete on a one-step list: description kept", std::string("only"),
               Text(Control(StringDescription)));
    SetText(Control(StringDescription), "");
}

void CheckTypeSwitch() {
    for (int type = 1; type <= static_cast<int>(TypeNames.size()); ++type) {
        ChooseType(type);
        const std::string context = std::string("type switch to ") + TypeNames[type - 1];
        CheckOnlyContainer(context, TypeContainers[static_cast<size_t>(type - 1)]);
        CheckEqual(context + ": frame caption unchanged", std::string("1"),
                   Text(Control(FrameStep)));
    }
    // Containers never shown by GetValues hold their initial contents.
    const std::vector<Field> initial = {{ComboClick, "L_Click"},
                                        {StringX, "50"},
                                        {StringY, "50"},
                                        {ComboPort, "COM1"},
                                        {Combo_COMtype, "Initialise"},
                                        {StringTelegram, ""},
                                        {TextComHint, "Initialise: (9600 N 8 1)"},
                                        {StringRepetitions, "1"}};
    for (const Field& field : initial) {
        CheckEqual(Numbered("initial content of control", field.control), field.text,
                   Shown(field.control));
    }
}

// [SECTION] Building five steps with the buttons

void BuildMouseStep() {
    ChooseType(1);
    Pick(ComboClick, "R_Click");
    SetText(Control(StringDescription), "click");
    SetText(Control(StringX), "");
    TypeInto(Control(StringX), "1a2-3");
    WaitUntil([] { return Text(Control(StringX)) == "123"; }, 5000);
    CheckEqual("digits-only X input takes only digits when typed", std::string("123"),
               Text(Control(StringX)));

    SetText(Control(StringX), "");
    Press(ButtonNewEnd);
    ExpectBox("mouse step with an empty X", "Input required", "No mouse x entered");
    CheckEqual("refused mouse step stays: frame caption", std::string("1"),
               Text(Control(FrameStep)));
    CheckEqual("refused mouse step stays: Mouse container shown", ContainerMouse,
               VisibleContainer());

    SetText(Control(StringX), "120");
    SetText(Control(StringY), "");
    Press(ButtonNewEnd);
    ExpectBox("mouse step with an empty Y", "Input required", "No mouse y entered");

    SetText(Control(StringY), "80");
    Press(ButtonNewEnd);
    CheckShows("new step at the end after a mouse step", NewStep("2"), 2);
}

void BuildKeyboardStep() {
    ChooseType(2);
    Pick(Combo_KeyboardType, "Key");
    WaitUntil([] { return Text(Control(TextKeyLabel)) == "Key:"; });
    CheckEqual("keyboard kind Key: caption", std::string("Key:"), Text(Control(TextKeyLabel)));
    CheckEqual("keyboard kind Key: key chooser shown", true, IsVisible(Control(ComboKeyName)));
    CheckEqual("keyboard kind Key: text input hidden", false, IsVisible(Control(StringKeyText)));
    Pick(Combo_KeyboardType, "String");
    WaitUntil([] { return Text(Control(TextKeyLabel)) == "String:"; });
    CheckEqual("keyboard kind String: text input shown", true, IsVisible(Control(StringKeyText)));
    CheckEqual("keyboard kind String: key chooser hidden", false, IsVisible(Control(ComboKeyName)));

    TypeInto(Control(StringKeyText), "hello");
    WaitUntil([] { return Text(Control(StringKeyText)) == "hello"; }, 5000);
    CheckEqual("typed keyboard text", std::string("hello"), Text(Control(StringKeyText)));
    SetText(Control(StringDescription), "type");
    Press(ButtonNewEnd);
    CheckShows("new step at the end after a keyboard step", NewStep("3"), 3);
}

void BuildComportStep() {
    ChooseType(5);
    Pick(ComboPort, "COM3");
    Pick(Combo_COMtype, "Hex");
    WaitUntil([] { return Text(Control(TextComHint)) == "Hex (F4 03 28 ..)"; });
    CheckEqual("COM type Hex: hint", std::string("Hex (F4 03 28 ..)"), Text(Control(TextComHint)));
    Pick(Combo_COMtype, "Initialise");
    WaitUntil([] { return Text(Control(TextComHint)) == "Initialise (9600 N 8 1)"; });
    CheckEqual("COM type Initialise: hint", std::string("Initialise (9600 N 8 1)"),
               Text(Control(TextComHint)));
    SetText(Control(StringDescription), "port");

    SetText(Control(StringTelegram), "9600 n 8 1");
    Press(ButtonNewEnd);
    ExpectBox("port parameters 9600 n 8 1", "Wrong values", "Wrong parity (N, O, E)");
    CheckEqual("refused port parameters: frame caption", std::string("3"),
               Text(Control(FrameStep)));

    SetText(Control(StringTelegram), "9600 N 8 1");
    Press(ButtonNewEnd);
    CheckShows("new step at the end after a comport step", NewStep("4"), 4);
}

void BuildDelayAndInsertState() {
    SetText(Control(StringDelay), "2,5");
    SetText(Control(StringDescription), "wait");
    Press(ButtonFirst);
    CheckShows("first step", FiveSteps[0], 4);

    Press(ButtonNext);
    CheckShows("next step", {"2", 2, {{StringKeyText, "hello"}}}, 4);
    Press(ButtonNewFront);
    CheckShows("new step in front of step 2", NewStep("2"), 5);
    ChooseType(7);
    SetText(Control(StringStateText), "state text");
    SetText(Control(StringDescription), "note");
    Press(ButtonLast);
    CheckShows("last step", FiveSteps[4], 5);
}

// [SECTION] Moving through the list

void WalkThroughFiveSteps() {
    for (int index = 3; index >= 0; --index) {
        Press(ButtonPrevious);
        CheckShows("previous step", FiveSteps[static_cast<size_t>(index)], 5);
    }
    // The stored and shown-again X input proves the command ran although the step stays.
    SetText(Control(StringX), "0120");
    Press(ButtonPrevious);
    CheckShows("previous step on step 1 stays", FiveSteps[0], 5);
    Screenshot("editor-mouse");

    Press(ButtonLast);
    CheckShows("last step", FiveSteps[4], 5);
    SetText(Control(StringDelay), "2.50");
    Press(ButtonNext);
    CheckShows("next step on the last step stays", FiveSteps[4], 5);

    Press(ButtonFirst);
    CheckShows("first step", FiveSteps[0], 5);
    for (size_t index = 1; index < FiveSteps.size(); ++index) {
        Press(ButtonNext);
        CheckShows("next step", FiveSteps[index], 5);
        if (index == 2) {
            Screenshot("editor-keyboard");
        } else if (index == 3) {
            Screenshot("editor-comport");
        }
    }
}

// [SECTION] The step-number popup

void CheckPopupPick() {
    Press(ButtonFirst);
    CheckShows("first step", FiveSteps[0], 5);
    SetText(Control(StringX), "");
    Press(ButtonSelectStep);
    Window popup = WaitForWindowWithControl(ListSelectStep);
    if (!Check(popup != nullptr, "step-number popup opens", "a window with list 49", "none")) {
        return;
    }
    const Box frame = ScreenBox(Main);
    const Box place = ScreenBox(popup);
    CheckEqual("popup left = main window left + 74", frame.x + 74, place.x);
    CheckEqual("popup top = main window top + 105", frame.y + 105, place.y);
    CheckEqual("popup client area", Box{0, 0, 60, 90}, ClientBox(popup));
    CheckEqual("popup has no title bar", false, HasCaption(popup));
    Window list = FindControl(popup, ListSelectStep);
    CheckEqual("popup list covers the client area", Box{0, 0, 60, 90}, PositionInParent(list));
    CheckEqual("popup list of five steps needs no scroll bar", false, HasVerticalScrollBar(list));
    CheckEqual("popup entries", Join(StepNumbers(5), ","), Join(ListEntries(list), ","));
    WaitUntil([] { return !IsEnabled(Main); });
    CheckEqual("main window disabled while the popup is open", false, IsEnabled(Main));

    // Close requests are ignored; the pick posted after them still reaches the open popup.
    RequestClose(popup);
    SystemClose(popup);
    PickListEntry(list, 2);
    ExpectBox("pick while the panel is refused", "Input required", "No mouse x entered");
    CheckShows("pick of step 3 goes ahead after the refusal", FiveSteps[2], 5);
    WaitUntil([] { return OpenWindowWithControl(ListSelectStep) == nullptr && IsEnabled(Main); });
    CheckEqual("popup closed after the pick", false, Exists(popup) && IsVisible(popup));
    CheckEqual("main window enabled after the pick", true, IsEnabled(Main));

    // The refused store had already written X := 0 into step 1.
    Press(ButtonFirst);
    CheckShows("step 1 after the refused store", {"1", 1, {{StringX, "0"}, {StringY, "80"}}}, 5);
    SetText(Control(StringX), "120");
}

// [SECTION] F9, deleting, About and Exit

void CheckF9WhileKeyboardShown() {
    Press(ButtonNext);
    Press(ButtonNext);
    CheckShows("step 3 for F9", FiveSteps[2], 5);
    const Point spot{345, 456};
    Xdotool("mousemove " + Describe(spot));
    WaitForPointerAt(spot);
    Check(Activate(Main), "main window has the keyboard focus", "foreground", "not foreground");
    Xdotool("key F9");
    const std::string expected = Describe(spot);
    WaitUntil([&] { return Text(Control(StringX)) + " " + Text(Control(StringY)) == expected; });
    CheckEqual("F9 fills the hidden X and Y inputs", expected,
               Text(Control(StringX)) + " " + Text(Control(StringY)));
    CheckEqual("F9 leaves the Keyboard container shown", ContainerKeyboard, VisibleContainer());
    ChooseType(1);
    CheckEqual("switching to Mouse shows the captured X", std::to_string(spot.x),
               Text(Control(StringX)));
    ChooseType(2);
}

void CheckDeleting() {
    Press(ButtonLast);
    CheckShows("last step before deleting", FiveSteps[4], 5);
    Press(ButtonDelete);
    CheckShows("deleting step 5 of 5 shows step 4", FiveSteps[3], 4);
    Press(ButtonFirst);
    CheckShows("first step before deleting", FiveSteps[0], 4);
    Press(ButtonDelete);
    CheckShows("deleting step 1 shows the former step 2 as step 1",
               {"1", 7, {{StringStateText, "state text"}, {StringDescription, "note"}}}, 3);
}

// More steps than fit into the popup's 90 pixels: the list scrolls and still runs from "1".
void CheckLongPopup() {
    for (int number = 4; number <= 10; ++number) {
        Press(ButtonNewEnd);
        CheckShows("new step at the end", NewStep(std::to_string(number)), number);
    }
    Press(ButtonSelectStep);
    Window popup = WaitForWindowWithControl(ListSelectStep);
    if (!Check(popup != nullptr, "popup over ten steps opens", "a window with list 49", "none")) {
        return;
    }
    Window list = FindControl(popup, ListSelectStep);
    CheckEqual("popup over ten steps: entries", Join(StepNumbers(10), ","),
               Join(ListEntries(list), ","));
    CheckEqual("popup over ten steps: list scrolls vertically", true, HasVerticalScrollBar(list));
    PickListEntry(list, 0);
    CheckShows("pick of step 1 of ten",
               {"1", 7, {{StringStateText, "state text"}, {StringDescription, "note"}}}, 10);
    WaitUntil([] { return OpenWindowWithControl(ListSelectStep) == nullptr && IsEnabled(Main); });
    CheckEqual("main window enabled after the pick", true, IsEnabled(Main));
}

void CheckAbout() {
    ChooseMenuItem(Main, MenuAbout);
    Window box = WaitForMessageBox();
    if (!Check(box != nullptr, "About shows a box", "a box", "none")) {
        return;
    }
    CheckEqual("About: main window not on top while the box is open", false, IsTopmost(Main));
    CheckEqual("About: caption", std::string("About"), Title(box));
    CheckEqual("About: text", std::string(26, ' ') + "Quorvane   V2.2.0", BoxText(box));
    Check(BoxText(box).find("V2.2.0") != std::string::npos, "About: version V2.2.0 shown", "V2.2.0",
          BoxText(box));
    Check(AnswerBox(box, Answer::Ok), "About: box answered", "closed", "still open");
    WaitUntil([] { return IsTopmost(Main); });
    CheckEqual("About: main window on top again", true, IsTopmost(Main));
}

void CheckExit() {
    ChooseMenuItem(Main, MenuExit);
    ExpectBox("Exit answered No", "Confirm", "Exit program?", Answer::No);
    CheckEqual("Exit answered No: program still runs", false, HasExited());
    CheckShows("Exit answered No: step still shown",
               {"1", 7, {{StringStateText, "state text"}, {StringDescription, "note"}}}, 10);

    ChooseMenuItem(Main, MenuExit);
    ExpectBox("Exit answered Yes", "Confirm", "Exit program?", Answer::Yes);
    unsigned long exitCode = 259;
    CheckEqual("Exit answered Yes ends the process", true, WaitForExit(exitCode));
    CheckEqual("exit code after Exit", 0UL, exitCode);
}

}  // namespace

int main(int argc, char** argv) {
    ScreenshotFolder = Option(argc, argv, "screenshots");
    Main = LaunchProgramUnderTest(argc, argv);
    if (Main == nullptr) {
        return Finish();
    }
    CheckNewDocument();
    CheckDeleteOnOneStep();
    CheckTypeSwitch();
    BuildMouseStep();
    BuildKeyboardStep();
    BuildComportStep();
    BuildDelayAndInsertState();
    WalkThroughFiveSteps();
    CheckPopupPick();
    CheckF9WhileKeyboardShown();
    CheckDeleting();
    CheckLongPopup();
    CheckAbout();
    CheckExit();
    return Finish();
}
