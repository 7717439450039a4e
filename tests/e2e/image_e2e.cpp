// Pictures on the screen seen from outside, with the target program: a picture of its button
// taken from the screen is waited for and clicked at its centre wherever the window has gone; a
// picture that never shows times out to the else step; a picture captured by dragging over the
// frozen screen is saved through the save dialog and clicked, and Escape leaves the frozen screen.
// Options: --program=<Quorvane.exe> --target=<Target.exe>.
#include <cstdlib>
#include <string>
#include <vector>

#include "Driver.h"
#include "Forms/FormMAIN.h"

using namespace e2e;

namespace {

constexpr char FrozenScreenClass[] = "QuorvaneFrozenScreen";

Window Main = nullptr;
std::string Folder;
TargetProgram Target;

Window Button() {
    return FindControl(Target.window, TargetButton);
}

// The target's top-left corner to the point, clear of Quorvane's main window in the middle.
void MoveTarget(int x, int y) {
    const Box box = ScreenBox(Target.window);
    PlaceWindow(Target.window, {x, y, box.width, box.height});
}

// The target's left-button lines from `from` on, once a press and a release have come.
std::string Clicks(size_t from) {
    WaitUntil([&] { return TargetLogLines(Target, from, "client L").size() >= 2; }, 3000);
    return Join(TargetLogLines(Target, from, "client L"), " | ");
}

// One click at the button's centre as the target logs it: Quorvane clicks the picture's centre
// pixel, right of and below the middle where a side is even.
std::string ClickAtButtonCentre() {
    const Box button = PositionInParent(Button());
    const std::string at =
        Describe(Point{button.x + button.width / 2, button.y + button.height / 2});
    return "client L down " + at + " button | client L up " + at + " button";
}

void CheckWaitForButtonAndClick() {
    MoveMouse(5, 1000);  // no button under the pointer
    if (!Check(SaveSettledScreenshot(Button(), Folder + "target-button.bmp"),
               "picture of the target's button taken from the screen", "saved", "not saved")) {
        return;
    }
    MoveTarget(850, 1200);  // off the screen: the run must wait
    if (!OpenStepList(
            Main, Folder + "wait-click.stp",
            {"10;Image;0 target-button.bmp;20.0;0;", "12;L_Click;0 target-button.bmp;0;0;"})) {
        return;
    }
    const size_t from = TargetLogSize(Target);
    ChooseMenuItem(Main, MenuPlay);
    Window countdown = FindControl(Main, TextWaitCountdown);
    Check(WaitUntil(
              [&] {
                  return std::atof(Text(countdown).c_str()) > 0 &&
                         std::atof(Text(countdown).c_str()) < 19.5;
              },
              30000),
          "the list waits while the button is off the screen", "below 19.5", Text(countdown));
    MoveTarget(850, 650);
    if (WaitForRunEnd(Main, "wait for the button and click it")) {
        CheckEqual("the button is clicked once at its centre at its new place",
                   ClickAtButtonCentre(), Clicks(from));
    }
}

void CheckAbsentPictureGoesToElseStep() {
    // A picture of the target's second window, which then goes away again.
    ShowTargetSecondWindow(Target, true);
    Window second = WaitForAnyWindow("Quorvane Target Second");
    const bool taken = second != nullptr && SaveSettledScreenshot(second, Folder + "gone.bmp");
    ShowTargetSecondWindow(Target, false);
    WaitUntil([] { return WaitForAnyWindow("Quorvane Target Second", 0) == nullptr; });
    if (Check(taken, "picture of a window that goes away", "saved", "not saved") &&
        OpenStepList(Main, Folder + "absent.stp",
                     {"10;Image;0 gone.bmp;1.0;3;", "7;not reached;", "7;else step;"}) &&
        PlayToEnd(Main, "absent picture")) {
        CheckEqual("an absent picture times out to the else step", std::string("else step"),
                   Text(FindControl(Main, TextState)));
    }
}

bool FreezeScreen() {
    ClickButton(FindControl(Main, ButtonImageCapture));
    return Check(WaitForWindowOfClass(FrozenScreenClass) != nullptr, "Capture freezes the screen",
                 FrozenScreenClass, "no such window");
}

void CheckCaptureByDragging() {
    const std::string folder = Folder + "capture\\";
    MakeFolder(folder);
    const Box button = ScreenBox(Button());
    MoveMouse(5, 1000);
    if (!OpenStepList(Main, folder + "capture.stp", {"12;L_Click;0 other.png;0;0;"}) ||
        !FreezeScreen()) {
        return;
    }
    // From the button's top-left pixel to just past its bottom-right one.
    Xdotool("mousemove " + Describe(Point{button.x, button.y}) + " mousedown 1 mousemove " +
            Describe(Point{button.x + 9, button.y + 7}) + " mousemove " +
            Describe(Point{button.x + button.width, button.y + button.height}) + " mouseup 1");
    Window dialog = WaitForMessageBox();
    if (!Check(dialog != nullptr && Title(dialog) == "Save picture",
               "the drag asks for the picture's file", "Save picture",
               dialog != nullptr ? Title(dialog) : "no dialog")) {
        return;
    }
    WaitUntil([&] { return !DialogFileName(dialog).empty(); });
    CheckEqual("the save dialog offers the first free name", std::string("image1.png"),
               DialogFileName(dialog));
    WaitUntil([&] { return ChooseFileInDialog(dialog, "image1.png"); });
    Window value = FindControl(Main, StringImageValue);
    Check(WaitUntil([&] { return Text(value) == "0 image1.png"; }),
          "the value names the picture beside the step file", "0 image1.png", Text(value));
    CheckEqual("the picture is a PNG file", std::string("\x89PNG"),
               ReadWholeFile(folder + "image1.png").substr(0, 4));
    const size_t from = TargetLogSize(Target);
    if (PlayToEnd(Main, "captured picture")) {
        CheckEqual("the captured picture is clicked at the button's centre", ClickAtButtonCentre(),
                   Clicks(from));
    }
    if (FreezeScreen()) {
        Xdotool("key Escape");
        Check(WaitUntil([] { return WaitForWindowOfClass(FrozenScreenClass, 0) == nullptr; }),
              "Escape leaves the frozen screen", "gone", "still shown");
        CheckEqual("Escape: no dialog, the value as it was", std::string("0 image1.png"),
                   OpenMessageBox() == nullptr ? Text(value) : "a dialog");
    }
}

}  // namespace

int main(int argc, char** argv) {
    Folder = ScratchFolder();
    Main = LaunchProgramUnderTest(argc, argv);
    if (Main == nullptr) {
        return Finish();
    }
    const std::string target = Option(argc, argv, "target", OwnFolder() + "Target.exe");
    if (Check(StartTarget(target, Folder + "target.log", Target), "target window shows",
              TargetTitle, "none")) {
        CheckWaitForButtonAndClick();
        CheckAbsentPictureGoesToElseStep();
        CheckCaptureByDragging();
    }
    Target.process.End();
    CheckCloseBoxEndsProgram(Main);
    return Finish();
}
