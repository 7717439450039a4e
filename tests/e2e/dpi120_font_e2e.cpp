// Run with the screen at 120 pixels per logical inch: font 0 of the controls is Arial 6.
// Option: --program=<Quorvane.exe>.
#include "Driver.h"
#include "Forms/FormMAIN.h"

using namespace e2e;

int main(int argc, char** argv) {
    Window main = LaunchProgramUnderTest(argc, argv);
    if (main == nullptr) {
        return Finish();
    }
    CheckEqual("screen at 120 pixels per inch", 120, ScreenPixelsPerInch());
    const FontInfo font = ControlFont(main, LabelDescription);
    CheckEqual("font 0 at 120 pixels per inch: points", 6, font.points);
    CheckEqual("font 0 at 120 pixels per inch: not bold", false, font.bold);
    CheckCloseBoxEndsProgram(main);
    return Finish();
}
