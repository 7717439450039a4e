// Step files and the text editor window, seen from outside: File > "Save as...", "Save" and
// "Open" through the real file dialogs, the bytes written, the overwrite question, saves that must
// fail without harm, the notices of unknown lines, and Tools > "Editor" with its template, line
// information, refused saves and the reload of the main window's own file.
// Options: --program=<Quorvane.exe> --data=<folder of the prepared step files>.
#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "Driver.h"
#include "Forms/FormEditor.h"
#include "Forms/FormMAIN.h"

using namespace e2e;
namespace fs = std::filesystem;

namespace {

// [SECTION] Index
// Files and texts, boxes and dialogs, the editor template, saving from the main window, failed
// saves, opening with unknown lines, the editor on the main window's file.

constexpr int NoticesTimeoutMs = 40000;  // 200 unknown lines at 600 ms each would take 120 s
constexpr int KeyEnd = 0x23;             // VK_END
constexpr int KeyDown = 0x28;            // VK_DOWN

const std::string FirstLine = "Quorvane 2.2";
constexpr const char* MouseHint = "1;L_Click/Ldbl_Click/R_Click/M_Click;X;Y;Remarks";

Window Main = nullptr;
fs::path Work;  // a fresh folder for every file the program writes or reads here

// [SECTION] Files and texts

std::optional<std::string> ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Shown(const std::optional<std::string>& bytes) {
    return bytes ? Describe(*bytes) : "no file";
}

// Lines as a step file reader sees them: ended by CR LF, lone LF, lone CR or the end.
std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            line += text[i];
            continue;
        }
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        }
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += "[" + line + "]";
    }
    return text;
}

std::vector<std::string> TextAreaLines(Window editor) {
    return SplitLines(Text(FindControl(editor, EditorText)));
}

std::string Stamp(std::time_t moment) {
    char text[32] = {};
    std::strftime(text, sizeof(text), "%d.%m.%Y %H:%M", std::localtime(&moment));
    return text;
}

// The user-and-date line for any minute from before to after.
bool IsUserDateLine(const std::string& line, std::time_t before, std::time_t after) {
    for (std::time_t moment = before; moment < after + 60; moment += 60) {
        if (line == LoggedOnUser() + "  -  " + Stamp(std::min(moment, after))) {
            return true;
        }
    }
    return false;
}

std::string UserDatePattern(std::time_t before) {
    return "\"" + LoggedOnUser() + "  -  " + Stamp(before) + "\" (or a minute later)";
}

// Checks a file written by the program: the title, a fresh user-and-date line, then exactly the
// rest, every line ended by CR LF.
void CheckWrittenFile(const std::string& name, const fs::path& path, std::time_t before,
                      std::time_t after, const std::vector<std::string>& rest) {
    const std::optional<std::string> bytes = ReadBytes(path);
    if (!Check(bytes.has_value(), name + ": file exists", path.string(), "no file")) {
        return;
    }
    const size_t first = bytes->find("\r\n");
    const size_t second = first == std::string::npos ? first : bytes->find("\r\n", first + 2);
    const std::string userDate =
        second == std::string::npos ? "" : bytes->substr(first + 2, second - first - 2);
    Check(IsUserDateLine(userDate, before, after), name + ": user-and-date line",
          UserDatePattern(before), Describe(userDate));
    std::string expected = FirstLine + "\r\n" + userDate + "\r\n";
    for (const std::string& line : rest) {
        expected += line + "\r\n";
    }
    CheckEqual(name + ": bytes", expected, *bytes);
}

std::set<std::string> FolderNames(const fs::path& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

fs::path DataFolder(int argc, char** argv) {
    const std::string option = Option(argc, argv, "data");
    if (!option.empty()) {
        return option;
    }
    // Next to this source file; a Unix source path is reached through Wine's drive Z:.
    std::string source = __FILE__;
    if (source.starts_with("/")) {
        std::replace(source.begin(), source.end(), '/', '\\');
        source = "Z:" + source;
    }
    return fs::path(source).parent_path() / "data";
}

// [SECTION] Boxes and dialogs

// Opens "About" and closes it: as the program handles one command at a time, its box coming next
// shows that the command before had nothing more to show.
void ExpectNothingMore(const std::string& name) {
    ChooseMenuItem(Main, MenuAbout);
    Window box = WaitForMessageBox();
    CheckEqual(name + ": no further box (the next box is About's)", std::string("About"),
               box == nullptr ? std::string("none") : Title(box));
    AnswerBox(box, Answer::Ok);
}

bool AnswerDialog(const std::string& name, const std::string& path) {
    Window dialog = WaitForMessageBox();
    if (!Check(dialog != nullptr, name + ": file dialog shows", "a dialog", "none")) {
        return false;
    }
    CheckEqual(name + ": dialog title", std::string("Filename"), Title(dialog));
    return Check(ChooseFileInDialog(dialog, path), name + ": dialog takes " + path, "dialog closed",
                 "dialog still open");
}

bool SaveAs(const std::string& name, const std::string& typedName) {
    ChooseMenuItem(Main, MenuSaveAs);
    return AnswerDialog(name, (Work / typedName).string());
}

void SetDescription(std::string_view text) {
    SetText(FindControl(Main, StringDescription), text);
}

std::string MainText(int control) {
    return Text(FindControl(Main, control));
}

// [SECTION] The editor template and line information

Window OpenEditor(const std::string& name) {
    ChooseMenuItem(Main, MenuEditor);
    Window editor = WaitForWindow("Editor");
    Check(editor != nullptr, name + ": window \"Editor\" shows", "window 103", "none");
    return editor;
}

void CheckMainWhileEditorOpen(const std::string& name) {
    CheckEqual(name + ": main window disabled", false, IsEnabled(Main));
    CheckEqual(name + ": main window not always on top", false, IsTopmost(Main));
}

void CloseEditor(const std::string& name, Window editor) {
    SystemClose(editor);
    Check(WaitUntil([&] { return !IsVisible(editor); }), name + ": close box closes the editor",
          "window gone", "still shown");
    Check(WaitUntil([&] { return IsEnabled(Main); }), name + ": main window enabled again",
          "enabled", "disabled");
    Check(WaitUntil([&] { return IsTopmost(Main); }), name + ": main window always on top again",
          "topmost", "not topmost");
}

struct LineInfoRow {
    int line;  // 1-based line of the text area
    const char* meaning;
    const char* type;
    const char* syntax;
};

std::string LineInfo(Window editor) {
    return Text(FindControl(editor, EditorLineMeaning)) + " | " +
           Text(FindControl(editor, EditorLineType)) + " | " +
           Text(FindControl(editor, EditorLineSyntax));
}

// A real click into the line; the three texts must then explain it.
void CheckLineInfo(const std::string& name, Window editor, const LineInfoRow& row) {
    const std::string expected = std::string(row.meaning) + " | " + row.type + " | " + row.syntax;
    const Point point = LinePoint(FindControl(editor, EditorText), row.line - 1);
    const std::string check = name + ": click into line " + std::to_string(row.line);
    if (!Check(point.x >= 0, check + " (line found)", "a line", "none")) {
        return;
    }
    ClickAt(point);
    WaitUntil([&] { return LineInfo(editor) == expected; }, 5000);
    CheckEqual(check, expected, LineInfo(editor));
}

// Tools > "Editor" with no file: the four template lines, "Save" disabled, the main window held.
void CheckEditorTemplate(Window editor, std::time_t before, std::time_t after) {
    const std::vector<std::string> lines = TextAreaLines(editor);
    if (!CheckEqual("template: four lines", 4, static_cast<int>(lines.size()))) {
        Note("text area lines: " + Joined(lines));
    }
    if (lines.size() >= 4) {
        CheckEqual("template: line 1", FirstLine, lines[0]);
        Check(IsUserDateLine(lines[1], before, after), "template: line 2", UserDatePattern(before),
              Describe(lines[1]));
        CheckEqual("template: line 3", std::string(), lines[2]);
        CheckEqual("template: line 4", std::string("1;L_Click;50;50;"), lines[3]);
    }
    CheckEqual("template: \"Save\" disabled", false,
               IsEnabled(FindControl(editor, EditorButtonSave)));
    CheckEqual("template: \"Open\" enabled", true,
               IsEnabled(FindControl(editor, EditorButtonOpen)));
    CheckEqual("template: \"Save as\" enabled", true,
               IsEnabled(FindControl(editor, EditorButtonSaveAs)));
    CheckEqual("template: no file name", std::string(), Text(FindControl(editor, EditorFileName)));
    CheckMainWhileEditorOpen("template");
}

// Clicks explain lines 4, 1 and 2; arrow keys then move the caret to line 3 (empty, so a click
// there lands on the next line under Wine) and line 4.
void CheckTemplateLineInfo(Window editor) {
    static constexpr LineInfoRow Clicked[] = {
        {4, "CODE Line: 1", "MOUSE", MouseHint},
        {1, "File-Version", "", ""},
        {2, "User  -  Date (dd.mm.yyyy hh:mm)", "", ""},
    };
    Activate(editor);
    for (const LineInfoRow& row : Clicked) {
        CheckLineInfo("template", editor, row);
    }
    for (const char* expected : {"File-Information |  | ", "CODE Line: 1 | MOUSE | "}) {
        const std::string info = std::string(expected) + (expected[0] == 'C' ? MouseHint : "");
        PressKey(KeyDown);
        WaitUntil([&] { return LineInfo(editor) == info; }, 5000);
        CheckEqual("template: arrow key down explains the next line", info, LineInfo(editor));
    }
}

// One line of every type, a comment and a line of type 13, which names no type: the type and
// syntax shown, read from the line's first field as the loader and the check read it.
void CheckEveryTypeLineInfo(Window editor) {
    SetText(FindControl(editor, EditorText),
            "Quorvane 2.2\r\nsomeone\r\n\r\n1;L_Click;50;50;\r\n2;Key;{F2};\r\n3;0.5;\r\n4;1;2;\r\n"
            "5;COM1;Initialise;9600 N 8 1;\r\n6;1;\r\n7;ready;\r\n8;C:\\Tools\\report.exe;\r\n"
            "9;Done;\r\n' a comment\r\n10;Window;Save As;10.0;0;\r\n"
            "11;L_Click;Untitled - Notepad;40;60;\r\n12;Move;0 a.png;0;0;\r\n13;L_Click;5;5;");
    static constexpr LineInfoRow Rows[] = {
        {5, "CODE Line: 2", "KEYBOARD", "2;String/Key;MyString/{F2};Rermarks"},
        {6, "CODE Line: 3", "DELAY", "3;Time;Remarks"},
        {7, "CODE Line: 4", "LOOP", "4;FromStepNo;Repetitions;Remarks"},
        {8, "CODE Line: 5", "COMPORT", "5;COM1;Initialise;9600 N 8 1;Remarks"},
        {9, "CODE Line: 6", "JUMP", "6;ToStepNo;Remarks"},
        {10, "CODE Line: 7", "STATE", "7;MyStateText;Remarks"},
        {11, "CODE Line: 8", "EXECUTE", "8;Filepath;Remarks"},
        {12, "CODE Line: 9", "MESSAGE", "9;MyMessageText;Remarks"},
        {13, "CODE Line: 10", "UNKNOWN", ""},
        {14, "CODE Line: 11", "WAIT",
         "10;Window/Active/NoWindow/Pixel/Answer/Image;Value;Seconds;ElseStepNo;Remarks"},
        {15, "CODE Line: 12", "WINDOW",
         "11;L_Click/Activate/Move/Size/Close...;TitlePart;X;Y;Remarks"},
        {16, "CODE Line: 13", "IMAGE",
         "12;L_Click/Ldbl_Click/R_Click/M_Click/Move;V File;X;Y;Remarks"},
        {17, "CODE Line: 14", "UNKNOWN", ""},
        {4, "CODE Line: 1", "MOUSE", MouseHint},
    };
    for (const LineInfoRow& row : Rows) {
        CheckLineInfo("every type", editor, row);
    }
}

// "Save as" checks the text first: the line beginning with 13 is refused, no dialog opens, and the
// header lines have been stamped.
void CheckRefusedSaveAs(Window editor, std::time_t before) {
    const std::string message = "Unknown Recordtype in CODE line 14";
    ClickButton(FindControl(editor, EditorButtonSaveAs));
    ExpectBox("editor \"Save as\" with a faulty line", "Input", message);
    const std::time_t after = std::time(nullptr);
    const std::vector<std::string> lines = TextAreaLines(editor);
    CheckEqual("refused save: line 1 stamped", FirstLine, lines.empty() ? "" : lines[0]);
    Check(lines.size() > 1 && IsUserDateLine(lines[1], before, after),
          "refused save: line 2 stamped", UserDatePattern(before),
          lines.size() > 1 ? Describe(lines[1]) : "no line");
    // Pressed again, the check comes first again: nothing else was waiting behind the refusal.
    ClickButton(FindControl(editor, EditorButtonSaveAs));
    ExpectBox("editor \"Save as\" pressed again", "Input", message);
}

void CheckEditorWithoutFile() {
    const std::time_t before = std::time(nullptr);
    Window editor = OpenEditor("template");
    const std::time_t after = std::time(nullptr);
    if (editor == nullptr) {
        return;
    }
    CheckEditorTemplate(editor, before, after);
    CheckTemplateLineInfo(editor);
    CheckEveryTypeLineInfo(editor);
    CheckRefusedSaveAs(editor, before);
    CloseEditor("template", editor);
}

// [SECTION] Saving from the main window

void CheckSaveAsOfNewList() {
    ChooseMenuItem(Main, MenuNew);
    WaitUntil([] { return MenuItemState(Main, MenuSaveAs) == 1; });
    const std::time_t before = std::time(nullptr);
    if (!SaveAs("save as", "plan")) {
        return;
    }
    Window box = WaitForMessageBox();
    CheckEqual("save as: main window not on top while its box shows", false, IsTopmost(Main));
    CheckEqual("save as: box caption", std::string("OK"), box ? Title(box) : "none");
    CheckEqual("save as: box text", std::string("File saved"), box ? BoxText(box) : "none");
    AnswerBox(box, Answer::Ok);
    const std::time_t after = std::time(nullptr);
    CheckWrittenFile("save as plan", Work / "plan.stp", before, after, {"", "3;0.5;"});
    CheckEqual("save as: nothing written under the typed name", false, fs::exists(Work / "plan"));
    CheckEqual("save as: file name shown", std::string("plan.stp"), MainText(TextFile));
    CheckEqual("save as: \"Save\" enabled", 1, MenuItemState(Main, MenuSave));
    Check(WaitUntil([] { return IsTopmost(Main); }), "save as: main window on top again", "topmost",
          "not topmost");
}

void CheckOverwriteQuestion() {
    const std::optional<std::string> kept = ReadBytes(Work / "plan.stp");
    SetDescription("not written");
    if (SaveAs("replace answered No", "plan")) {
        ExpectBox("replace answered No", "Confirm", "File already exists! Replace?", Answer::No);
        ExpectNothingMore("replace answered No");
        CheckEqual("replace answered No: file unchanged", Shown(kept),
                   Shown(ReadBytes(Work / "plan.stp")));
    }
    SetDescription("replaced");
    const std::time_t before = std::time(nullptr);
    if (SaveAs("replace answered Yes", "plan")) {
        ExpectBox("replace answered Yes", "Confirm", "File already exists! Replace?", Answer::Yes);
        ExpectBox("replace answered Yes", "OK", "File saved");
        CheckWrittenFile("replace answered Yes", Work / "plan.stp", before, std::time(nullptr),
                         {"", "3;0.5;replaced"});
    }
}

void CheckSaveAfterSaveAs() {
    SetDescription("second");
    if (!SaveAs("save as a new name", "second")) {
        return;
    }
    ExpectBox("save as a new name", "OK", "File saved");
    CheckEqual("save as a new name: file name shown", std::string("second.stp"),
               MainText(TextFile));
    const std::optional<std::string> plan = ReadBytes(Work / "plan.stp");
    SetDescription("saved again");
    const std::time_t before = std::time(nullptr);
    ChooseMenuItem(Main, MenuSave);
    ExpectBox("save after save as", "OK", "File saved");
    CheckWrittenFile("save after save as", Work / "second.stp", before, std::time(nullptr),
                     {"", "3;0.5;saved again"});
    CheckEqual("save after save as: the other file untouched", Shown(plan),
               Shown(ReadBytes(Work / "plan.stp")));
}

// [SECTION] Saves that must fail

// Answers the question, expects the failure titled with the path, and no "File saved" after it.
void ExpectFailedSave(const std::string& name, const fs::path& target) {
    ExpectBox(name, "Confirm", "File already exists! Replace?", Answer::Yes);
    Window box = WaitForMessageBox();
    const std::string text = box ? BoxText(box) : "none";
    CheckEqual(name + ": box caption is the path", target.string(), box ? Title(box) : "none");
    Check(text == "Can't create file" || text == "Can't write file", name + ": box text",
          "\"Can't create file\" (or \"Can't write file\")", Describe(text));
    AnswerBox(box, Answer::Ok);
    ExpectNothingMore(name);
}

void CheckNoStrayFiles(const std::string& name, const std::set<std::string>& expected) {
    CheckEqual(name + ": no temporary file left", Join(expected, ", "),
               Join(FolderNames(Work), ", "));
}

void CheckSaveOntoFolder() {
    const fs::path folder = Work / "taken.stp";
    fs::create_directory(folder);
    WriteBytes(folder / "inside.txt", "kept");
    SetDescription("into a folder");
    if (!SaveAs("save as onto a folder", "taken")) {
        return;
    }
    ExpectFailedSave("save as onto a folder", folder);
    CheckEqual(
        "save as onto a folder: folder and its file kept", std::string("inside.txt: kept"),
        Join(FolderNames(folder), ", ") + ": " + ReadBytes(folder / "inside.txt").value_or(""));
    CheckEqual("save as onto a folder: file name unchanged", std::string("second.stp"),
               MainText(TextFile));
    CheckNoStrayFiles("save as onto a folder",
                      {"junk.stp", "mixed.stp", "plan.stp", "second.stp", "taken.stp"});
}

void CheckSaveOntoHeldFile() {
    const fs::path target = Work / "held.stp";
    const std::string old =
        "Quorvane 2.2\r\nsomeone  -  01.01.2024 08:00\r\ninfo\r\n9;keep me;\r\n";
    WriteBytes(target, old);
    SetDescription("into a held file");
    {
        HeldFile held(target.string());
        Check(held.IsHeld(), "held file: held open by the test", "held", "could not open");
        if (SaveAs("save as onto a held file", "held")) {
            ExpectFailedSave("save as onto a held file", target);
        }
    }
    CheckEqual("save as onto a held file: old content intact", Describe(old),
               Shown(ReadBytes(target)));
    CheckNoStrayFiles("save as onto a held file",
                      {"held.stp", "junk.stp", "mixed.stp", "plan.stp", "second.stp", "taken.stp"});
    // The failed "Save as" kept the file name: "Save" still writes the last saved file.
    const std::time_t before = std::time(nullptr);
    ChooseMenuItem(Main, MenuSave);
    ExpectBox("save after failed saves", "OK", "File saved");
    CheckWrittenFile("save after failed saves", Work / "second.stp", before, std::time(nullptr),
                     {"", "3;0.5;into a held file"});
}

// [SECTION] Opening files with unknown lines

struct NoticesSeen {
    std::vector<std::string> texts;  // each notice once, in order
    int widest = 0;
    bool allOwnedByMain = true;
    bool allBorderless = true;
};

// Watches the notices until fileName is shown and no notice is left. Found and read without
// sending messages: the program's thread shows them while it sleeps.
NoticesSeen WatchNotices(const std::string& fileName, bool& completed) {
    NoticesSeen seen;
    Window lastNotice = nullptr;
    Window textFile = FindControl(Main, TextFile);
    completed = WaitUntil(
        [&] {
            Window notice = OpenWindowWithControl(TextNotice);
            if (notice == nullptr) {
                return StoredText(textFile) == fileName;
            }
            const std::string text = StoredText(FindControl(notice, TextNotice));
            if (notice != lastNotice || seen.texts.empty() || seen.texts.back() != text) {
                seen.texts.push_back(text);
                lastNotice = notice;
            }
            seen.widest = std::max(seen.widest, ScreenBox(notice).width);
            seen.allOwnedByMain = seen.allOwnedByMain && OwnerOf(notice) == Main;
            seen.allBorderless = seen.allBorderless && IsBorderlessPopup(notice);
            return false;
        },
        NoticesTimeoutMs);
    return seen;
}

bool AnswerOpen(const std::string& name, const std::string& path) {
    ChooseMenuItem(Main, MenuOpen);
    return AnswerDialog(name, path);
}

bool OpenThroughDialog(const std::string& name, const fs::path& path) {
    return AnswerOpen(name, path.string());
}

// 200 unknown lines, the first with a 300-character junk type: a few notices, none wider than the
// screen, one saying how many more were skipped; the load still completes.
void CheckOpenOfDamagedFile() {
    if (!OpenThroughDialog("open a damaged file", Work / "junk.stp")) {
        return;
    }
    bool completed = false;
    const NoticesSeen seen = WatchNotices("junk.stp", completed);
    Note("notices seen: " + Joined(seen.texts));
    Check(completed, "damaged file: load completes within 40 s", "file name shown",
          Describe(MainText(TextFile)));
    Check(!seen.texts.empty() && seen.texts.front().starts_with("Unknown recordtype: JJJ"),
          "damaged file: first notice names the junk type", "\"Unknown recordtype: JJJ...\"",
          seen.texts.empty() ? "no notice" : Describe(seen.texts.front()));
    Check(seen.widest <= ScreenWidth(), "damaged file: notices fit the screen",
          "at most " + std::to_string(ScreenWidth()) + " pixels", std::to_string(seen.widest));
    Check(seen.texts.size() <= 6, "damaged file: a few notices, not one per line", "at most 6",
          std::to_string(seen.texts.size()));
    Check(!seen.texts.empty() && seen.texts.back().find("195") != std::string::npos,
          "damaged file: last notice counts the 195 lines not shown", "a text with 195",
          seen.texts.empty() ? "no notice" : Describe(seen.texts.back()));
    CheckEqual("damaged file: the one step loaded", std::string("1 | 7 State | after the junk"),
               MainText(FrameStep) + " | " + SelectedEntry(FindControl(Main, ComboType)) + " | " +
                   MainText(StringStateText));
}

struct StepRow {
    const char* number;
    const char* type;
    int control;  // the type's main input
    const char* value;
    const char* remarks;
};

// The prepared file: comments, an empty line, one unknown type, and LF, CR and no line end.
void CheckOpenOfPreparedFile() {
    if (!OpenThroughDialog("open", Work / "mixed.stp")) {
        return;
    }
    bool completed = false;
    const NoticesSeen seen = WatchNotices("mixed.stp", completed);
    Check(completed, "open: load completes", "file name shown", Describe(MainText(TextFile)));
    CheckEqual("open: one notice for the unknown line", Joined({"Unknown recordtype: 13"}),
               Joined(seen.texts));
    CheckEqual("open: notice is a borderless popup", true, seen.allBorderless);
    CheckEqual("open: notice owned by the main window", true, seen.allOwnedByMain);
    CheckEqual("open: file name part shown", std::string("mixed.stp"), MainText(TextFile));
    CheckEqual("open: six steps", 6,
               static_cast<int>(Entries(FindControl(Main, ComboJumpTo)).size()));
    CheckEqual("open: \"Save\" enabled", 1, MenuItemState(Main, MenuSave));
    CheckEqual("open: \"Play\" enabled", 1, MenuItemState(Main, MenuPlay));

    static constexpr StepRow Steps[] = {
        {"1", "1 Mouse", StringX, "120", "first click"},
        {"2", "2 Keyboard", StringKeyText, "hello", "greeting"},
        {"3", "3 Delay", StringDelay, "2.0", "wait"},
        {"4", "6 Jump", ComboJumpTo, "2", "jump"},
        {"5", "7 State", StringStateText, "waiting", ""},
        {"6", "9 Message", StringMessageText, "Done", ""},
    };
    for (const StepRow& step : Steps) {
        if (step.number != std::string("1")) {
            ClickButton(FindControl(Main, ButtonNext));
            WaitUntil([&] { return MainText(FrameStep) == step.number; });
        }
        Window input = FindControl(Main, step.control);
        const std::string value = step.control == ComboJumpTo ? SelectedEntry(input) : Text(input);
        CheckEqual(std::string("open: step ") + step.number,
                   std::string(step.number) + " | " + step.type + " | " + step.value + " | " +
                       step.remarks,
                   MainText(FrameStep) + " | " + SelectedEntry(FindControl(Main, ComboType)) +
                       " | " + value + " | " + MainText(StringDescription));
    }
    ClickButton(FindControl(Main, ButtonFirst));
    WaitUntil([] { return MainText(FrameStep) == "1"; });
    CheckEqual("open: step 1 click kind and y", std::string("R_Click 240"),
               SelectedEntry(FindControl(Main, ComboClick)) + " " + MainText(StringY));
}

// [SECTION] The editor on the main window's own file

// Clicks into the line, goes to its end and types; waits until the text area holds the keys,
// which arrive by another way than the button presses that follow.
void TypeAtEndOfLine(Window editor, int line, std::string_view text) {
    ClickAt(LinePoint(FindControl(editor, EditorText), line - 1));
    WaitUntil([&] {
        return Text(FindControl(editor, EditorLineMeaning)) ==
               "CODE Line: " + std::to_string(line - 3);
    });
    PressKey(KeyEnd);
    TypeText(text);
    const bool typed = WaitUntil([&] {
        const std::vector<std::string> lines = TextAreaLines(editor);
        return static_cast<int>(lines.size()) >= line &&
               lines[static_cast<size_t>(line - 1)].ends_with(text);
    });
    Check(typed, "typed at the end of line " + std::to_string(line), Describe(std::string(text)),
          Joined(TextAreaLines(editor)));
}

void CheckEditorShowsFileOnDisk(Window editor) {
    const std::optional<std::string> bytes = ReadBytes(Work / "mixed.stp");
    CheckEqual("editor on the open file: its lines as on disk",
               Joined(SplitLines(bytes.value_or(""))), Joined(TextAreaLines(editor)));
    CheckEqual("editor on the open file: file name", std::string("mixed.stp"),
               Text(FindControl(editor, EditorFileName)));
    CheckEqual("editor on the open file: \"Save\" enabled", true,
               IsEnabled(FindControl(editor, EditorButtonSave)));
    CheckMainWhileEditorOpen("editor on the open file");
}

void CheckRefusedSaves(Window editor) {
    const std::optional<std::string> kept = ReadBytes(Work / "mixed.stp");
    // Line 5 of the prepared file is empty: step line 2 for the check.
    ClickButton(FindControl(editor, EditorButtonSave));
    ExpectBox("editor save with an empty line", "Input", "Unknown Recordtype in CODE line 2");
    ClickButton(FindControl(editor, EditorButtonSave));
    ExpectBox("editor save pressed again", "Input", "Unknown Recordtype in CODE line 2");
    SetText(FindControl(editor, EditorText),
            "Quorvane 2.2\r\ntester  -  01.02.2024 10:20\r\nprepared by hand\r\n"
            "1;R_Click;120;240;first click\r\n2;String;hello\r\n3;2;wait");
    ClickButton(FindControl(editor, EditorButtonSave));
    ExpectBox("editor save with a short line", "Input", "Wrong count of values in CODE line 2");
    CheckEqual("refused editor saves: file unchanged", Shown(kept),
               Shown(ReadBytes(Work / "mixed.stp")));
}

// Mends the short line and edits step 1 with real keys; saving reloads the main window's list.
void CheckSaveReloadsMainWindow(Window editor) {
    Activate(editor);
    TypeAtEndOfLine(editor, 5, ";greeting");
    TypeAtEndOfLine(editor, 4, " edited");
    const std::time_t before = std::time(nullptr);
    ClickButton(FindControl(editor, EditorButtonSave));
    ExpectBox("editor save of the main window's file", "OK", "File saved");
    CheckWrittenFile("editor save", Work / "mixed.stp", before, std::time(nullptr),
                     {"prepared by hand", "1;R_Click;120;240;first click edited",
                      "2;String;hello;greeting", "3;2;wait"});
    CheckEqual("editor save: main window shows step 1 of the saved file",
               std::string("1 | 1 Mouse | first click edited | 3 steps"),
               MainText(FrameStep) + " | " + SelectedEntry(FindControl(Main, ComboType)) + " | " +
                   MainText(StringDescription) + " | " +
                   std::to_string(Entries(FindControl(Main, ComboJumpTo)).size()) + " steps");
    CheckEqual("editor save: main window's file name", std::string("mixed.stp"),
               MainText(TextFile));
}

void CheckEditorOnOpenFile() {
    ClickButton(FindControl(Main, ButtonLast));
    WaitUntil([] { return MainText(FrameStep) == "6"; });
    Window editor = OpenEditor("editor on the open file");
    if (editor == nullptr) {
        return;
    }
    CheckEditorShowsFileOnDisk(editor);
    CheckRefusedSaves(editor);
    CheckSaveReloadsMainWindow(editor);
    CloseEditor("editor on the open file", editor);
}

// [SECTION] File names

// Without the name check the port's name "exists", and the replace question would come first.
void CheckSaveAsDeviceName() {
    const std::set<std::string> before = FolderNames(Work);
    if (SaveAs("save as COM5", "COM5")) {
        ExpectBox("save as COM5", "Save as",
                  "COM5 names a device, not a file; choose another name.");
        ExpectNothingMore("save as COM5");
        CheckNoStrayFiles("save as COM5: nothing written", before);
    }
}

// A folder whose name the system code page cannot hold.
void CheckOpenUnderUnicodeFolder() {
    const std::string folder = Work.string() + "\\\u65e5\u672c";
    const std::string path = folder + "\\far.stp";
    MakeFolder(folder);
    WriteWholeFile(path, StepFileText({"7;far away;"}));
    if (AnswerOpen("open under \u65e5\u672c", path)) {
        Check(WaitUntil([] { return MainText(StringStateText) == "far away"; }),
              "open under \u65e5\u672c: the step shows", "far away", MainText(StringStateText));
        CheckEqual("open under \u65e5\u672c: file name shown", std::string("far.stp"),
                   MainText(TextFile));
    }
}

// [SECTION] Set-up

bool PrepareWorkFolder(const fs::path& data) {
    Work = fs::temp_directory_path() / "quorvane-files-e2e";
    std::error_code ignored;
    fs::remove_all(Work, ignored);
    fs::create_directories(Work);
    for (const char* name : {"mixed.stp", "junk.stp"}) {
        std::error_code error;
        fs::copy_file(data / name, Work / name, error);
        if (!Check(!error, std::string("prepared file ") + name, (data / name).string(),
                   error.message())) {
            return false;
        }
    }
    Note("work folder " + Work.string());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (!PrepareWorkFolder(DataFolder(argc, argv))) {
        return Finish();
    }
    Main = LaunchProgramUnderTest(argc, argv);
    if (Main == nullptr) {
        return Finish();
    }
    CheckEditorWithoutFile();
    CheckSaveAsOfNewList();
    CheckOverwriteQuestion();
    CheckSaveAfterSaveAs();
    CheckSaveOntoFolder();
    CheckSaveOntoHeldFile();
    CheckOpenOfDamagedFile();
    CheckOpenOfPreparedFile();
    CheckEditorOnOpenFile();
    CheckSaveAsDeviceName();
    CheckOpenUnderUnicodeFolder();
    EndProgram();
    std::error_code ignored;
    fs::remove_all(Work, ignored);
    return Finish();
}
