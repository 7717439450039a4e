// Pictures on the screen seen from outside, with the target program: a picture of its button
// taken from the screen, a list that waits for the button and clicks it at its centre wherever
// the window has gone, a picture that never shows and times out to the else step, and a picture
// captured by dragging a rectangle over the frozen screen, saved through the save dialog and
// clicked; Escape leaves the frozen screen without a picture.
// Options: --program=<Quorvane.exe> --target=<Target.exe>.
#include <cstdlib>
#include <string>
#include <vector>

#include "Driver.h"
#include "Forms/FormMAIN.h"

using namespace e2e;

namespace {

constexpr char FrozenScreenClass[] = "QuorvaneFrozenScreen";
// Where the target goes once the list waits: clear of Quorvane's main window in the middle.
constexpr Point TargetPlace{850, 650};

struct Session {
    Window main = nullptr;
    std::string folder;
    TargetProgram target;
};

Window Control(const Session& session, int number) {
    return FindControl(session.main, number);
}

Window TargetButtonOf(const Session& session) {
    return FindControl(session.target.window, TargetButton);
}

// Puts the target's top-left corner at the point, its size kept.
bool MoveTarget(const Session& session, Point corner) {
    Box box = ScreenBox(session.target.window);
    box.x = corner.x;
    box.y = corner.y;
    return PlaceWindow(session.target.window, box);
}

// Points away from every window, so that no button shows the pointer over it.
void ParkPointer() {
    const Point park{5, 1000};
    MoveMouse(park.x, park.y);
    WaitForPointerAt(park);
}

// The target's left-button lines from `from` on, with their points in its client area.
std::string ButtonClicks(const Session& session, size_t from) {
    return Join(TargetLogLines(session.target, from, "client L"), " | ");
}

// A left click at the button's centre as the target logs it: Quorvane clicks the centre pixel of
// the picture, right of and below the middle where a side is even.
std::string ClickAtButtonCentre(const Session& session) {
    const Box button = PositionInParent(TargetButtonOf(session));
    const std::string at =
        Describe(Point{button.x + button.width / 2, button.y + button.height / 2});
    return "client L down " + at + " button | client L up " + at + " button";
}

bool Covers(const Box& outer, const Box& inner) {
    return inner.x < outer.x + outer.width && outer.x < inner.x + inner.width &&
           inner.y < outer.y + outer.height && outer.y < inner.y + inner.height;
}

// [SECTION] A picture taken from the screen: waited for, then clicked

void CheckWaitForButtonAndClick(Session& session) {
    ParkPointer();
    const std::string picture = session.folder + "target-button.bmp";
    if (!Check(SaveSettledScreenshot(TargetButtonOf(session), picture),
               "picture of the target's button taken from the screen", picture, "not saved")) {
        return;
    }
    // Off the screen while the list starts: the run must wait for it.
    if (!MoveTarget(session, {TargetPlace.x, 1200}) ||
        !OpenStepList(session.main, session.folder + "image-wait-click.stp",
                      {"10;Image;0 target-button.bmp;20.0;0;wait for the button",
                       "12;L_Click;0 target-button.bmp;0;0;click it", "7;clicked;"})) {
        return;
    }
    const size_t from = TargetLogSize(session.target);
    ChooseMenuItem(session.main, MenuPlay);
    Window countdown = Control(session, TextWaitCountdown);
    Check(WaitUntil(
              [&] {
                  return RunIsActive(session.main) && !Text(countdown).empty() &&
                         std::atof(Text(countdown).c_str()) < 19.5;
              },
              30000),
          "the list waits for the button while it is off the screen", "counting down below 19.5",
          Text(countdown));
    CheckEqual("nothing clicked while the button is off the screen", std::string(),
               ButtonClicks(session, from));
    MoveTarget(session, TargetPlace);
    Check(!Covers(ScreenBox(session.main), ScreenBox(TargetButtonOf(session))),
          "the button's new place is clear of the main window", "clear", "covered");
    if (!WaitForRunEnd(session.main, "wait for the button and click it")) {
        return;
    }
    WaitUntil([&] { return TargetLogLines(session.target, from, "client L").size() >= 2; }, 3000);
    CheckEqual("the Image step clicks the button's centre at its new place",
               ClickAtButtonCentre(session), ButtonClicks(session, from));
    CheckEqual("the run went on after the click", std::string("clicked"),
               Text(Control(session, TextState)));
    CheckEqual("no box after the click", true, OpenMessageBox() == nullptr);
}

// [SECTION] A picture that never shows

void CheckAbsentPictureGoesToElseStep(Session& session) {
    // Colours no window here shows.
    std::vector<uint32_t> pixels;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 12; ++x) {
            pixels.push_back(((x * 37 + y * 101) & 0xFF) << 16 | ((x * y * 13) & 0xFF) << 8 | 0x5A);
        }
    }
    const std::string picture = session.folder + "absent.bmp";
    if (!Check(WriteBmpFile(picture, 12, 8, pixels), "absent picture written", picture,
               "not written") ||
        !OpenStepList(session.main, session.folder + "image-absent.stp",
                      {"10;Image;0 absent.bmp;1.0;3;", "7;not reached;", "7;else step;"})) {
        return;
    }
    ChooseMenuItem(session.main, MenuPlay);
    if (WaitForRunEnd(session.main, "absent picture")) {
        CheckEqual("an absent picture times out to the else step", std::string("else step"),
                   Text(Control(session, TextState)));
        CheckEqual("no box after the time-out", true, OpenMessageBox() == nullptr);
    }
}

// [SECTION] Capturing a picture by dragging over the frozen screen

Window StartCapture(const Session& session) {
    ClickButton(Control(session, ButtonImageCapture));
    return WaitForWindowOfClass(FrozenScreenClass);
}

bool FrozenScreenGone() {
    return WaitUntil([] { return WaitForWindowOfClass(FrozenScreenClass, 0) == nullptr; });
}

void CheckCaptureByDragging(Session& session) {
    const std::string folder = session.folder + "capture\\";
    MakeFolder(folder);
    if (!OpenStepList(session.main, folder + "capture.stp",
                      {"12;L_Click;0 button.png;0;0;", "7;captured and clicked;"})) {
        return;
    }
    const Box button = ScreenBox(TargetButtonOf(session));
    ParkPointer();
    if (!Check(StartCapture(session) != nullptr, "Capture freezes the screen", FrozenScreenClass,
               "no such window")) {
        return;
    }
    // The rectangle dragged from the button's top-left pixel to just past its bottom-right one.
    Xdotool("mousemove " + Describe(Point{button.x, button.y}) + " mousedown 1 mousemove " +
            Describe(Point{button.x + 9, button.y + 7}) + " mousemove " +
            Describe(Point{button.x + button.width, button.y + button.height}) + " mouseup 1");
    Window dialog = WaitForMessageBox();
    if (!Check(dialog != nullptr, "the drag asks for the picture's file", "Save picture",
               "no dialog")) {
        return;
    }
    CheckEqual("the save dialog's title", std::string("Save picture"), Title(dialog));
    WaitUntil([&] { return !DialogFileName(dialog).empty(); });
    CheckEqual("the save dialog offers the first free name", std::string("image1.png"),
               DialogFileName(dialog));
    Check(WaitUntil([&] { return ChooseFileInDialog(dialog, "image1.png"); }),
          "the offered name taken", "dialog closed", "still open");
    Check(FrozenScreenGone(), "the frozen screen is gone", "gone", "still shown");
    Window value = Control(session, StringImageValue);
    Check(WaitUntil([&] { return Text(value) == "0 image1.png"; }),
          "the value names the picture beside the step file", "0 image1.png", Text(value));
    CheckEqual("the picture is a PNG file in the step file's folder", std::string("\x89PNG"),
               ReadWholeFile(folder + "image1.png").substr(0, 4));

    const size_t from = TargetLogSize(session.target);
    ParkPointer();
    ChooseMenuItem(session.main, MenuPlay);
    if (WaitForRunEnd(session.main, "captured picture")) {
        WaitUntil([&] { return TargetLogLines(session.target, from, "client L").size() >= 2; },
                  3000);
        CheckEqual("the captured picture is clicked at the button's centre",
                   ClickAtButtonCentre(session), ButtonClicks(session, from));
        CheckEqual("the run went on after the captured picture's click",
                   std::string("captured and clicked"), Text(Control(session, TextState)));
    }

    // Escape leaves the frozen screen: no dialog, the value as it was.
    if (Check(StartCapture(session) != nullptr, "Capture freezes the screen again",
              FrozenScreenClass, "no such window")) {
        Xdotool("key Escape");
        Check(FrozenScreenGone(), "Escape ends the frozen screen", "gone", "still shown");
        CheckEqual("Escape: no dialog", true, OpenMessageBox() == nullptr);
        CheckEqual("Escape: the value stays", std::string("0 image1.png"), Text(value));
    }
}

}  // namespace

int main(int argc, char** argv) {
    Session session;
    session.folder = ScratchFolder();
    const std::string targetPath = Option(argc, argv, "target", OwnFolder() + "Target.exe");
    session.main = LaunchProgramUnderTest(argc, argv);
    if (session.main == nullptr) {
        return Finish();
    }
    const bool shows = StartTarget(targetPath, session.folder + "target.log", session.target);
    if (Check(shows, "target window shows", TargetTitle, "none")) {
        CheckWaitForButtonAndClick(session);
        CheckAbsentPictureGoesToElseStep(session);
        CheckCaptureByDragging(session);
    }
    session.target.process.End();
    CheckCloseBoxEndsProgram(session.main);
    return Finish();
}
