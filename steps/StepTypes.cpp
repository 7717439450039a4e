// The step type table: one row per type, with the readers, writers and value rules it names.
//
// [SECTION] Field readers and writers
// [SECTION] Value rules of the text check
// [SECTION] The table

#include "steps/StepTypes.h"

#include <algorithm>

#include "steps/Numbers.h"
#include "steps/PictureValue.h"
#include "steps/StepKinds.h"
#include "steps/WaitKinds.h"
#include "steps/WaitValues.h"

namespace {

// [SECTION] Field readers and writers

std::string_view AsIs(std::string_view text) {
    return text;
}

// A field that holds the record field `Member`: read with `FromText`, written with `ToText`.
template <auto Member, auto FromText, auto ToText>
constexpr StepField FieldOf{
    [](StepRecord& step, std::string_view text) { step.*Member = FromText(text); },
    [](const StepRecord& step, std::string& line) { line += ToText(step.*Member); }};

template <auto Member>
constexpr StepField Text = FieldOf<Member, AsIs, AsIs>;
template <auto Member>
constexpr StepField Whole = FieldOf<Member, ReadInteger, IntegerText>;
// Written with exactly one decimal ("0.5", "2.0").
template <auto Member>
constexpr StepField Decimal = FieldOf<Member, ReadFloat, OneDecimalText>;

// A Keyboard line's third field is the text to type for the kind "String", the key name for any
// other kind; the record keeps the other one empty.
bool TypesText(const StepRecord& step) {
    return step.KeyType == "String";
}

void ReadKeyText(StepRecord& step, std::string_view text) {
    (TypesText(step) ? step.KeyString : step.KeyName) = text;
    (TypesText(step) ? step.KeyName : step.KeyString).clear();
}

void WriteKeyText(const StepRecord& step, std::string& line) {
    line += TypesText(step) ? step.KeyString : step.KeyName;
}

constexpr StepField kMouseFields[] = {Text<&StepRecord::MouseClick>, Whole<&StepRecord::MouseX>,
                                      Whole<&StepRecord::MouseY>};
constexpr StepField kKeyboardFields[] = {Text<&StepRecord::KeyType>, {ReadKeyText, WriteKeyText}};
constexpr StepField kDelayFields[] = {Decimal<&StepRecord::DelayTime>};
constexpr StepField kLoopFields[] = {Whole<&StepRecord::LoopFrom>, Whole<&StepRecord::LoopCount>};
constexpr StepField kComportFields[] = {Text<&StepRecord::ComPort>, Text<&StepRecord::ComType>,
                                        Text<&StepRecord::ComValue>};
constexpr StepField kJumpFields[] = {Whole<&StepRecord::JumpTo>};
constexpr StepField kStateFields[] = {Text<&StepRecord::StateText>};
constexpr StepField kExecuteFields[] = {Text<&StepRecord::ExecFile>};
constexpr StepField kMessageFields[] = {Text<&StepRecord::MessageText>};
constexpr StepField kWaitFields[] = {Text<&StepRecord::WaitFor>, Text<&StepRecord::WaitValue>,
                                     Decimal<&StepRecord::WaitTime>, Whole<&StepRecord::WaitElse>};
constexpr StepField kWindowFields[] = {Text<&StepRecord::WindowDo>, Text<&StepRecord::WindowTitle>,
                                       Whole<&StepRecord::WindowX>, Whole<&StepRecord::WindowY>};
constexpr StepField kImageFields[] = {Text<&StepRecord::ImageDo>, Text<&StepRecord::ImageValue>,
                                      Whole<&StepRecord::ImageX>, Whole<&StepRecord::ImageY>};

// [SECTION] Value rules of the text check

// Integers are read as the loader reads them, but kept in 64 bits for the comparison.
bool AtLeastOne(std::string_view text) {
    return ReadInteger64(text) >= 1;
}

// A coordinate, and an else step, is exactly "0" or at least 1 ("00" and "-3" are neither).
bool ZeroOrMore(std::string_view text) {
    return text == "0" || AtLeastOne(text);
}

std::string_view Passes(bool passes, std::string_view message) {
    return passes ? std::string_view{} : message;
}

std::string_view CheckMouse(const CodeLineFields& f, int64_t) {
    if (ReadClickKind(f[1]) == ClickKind::None) {
        return CheckWrongChoice;
    }
    return Passes(ZeroOrMore(f[2]) && ZeroOrMore(f[3]), CheckWrongRange);
}

std::string_view CheckKeyboard(const CodeLineFields& f, int64_t) {
    return Passes(f[1] == "String" || f[1] == "Key", CheckWrongChoice);
}

// A 32-bit float compared with the 32-bit float 0.1.
std::string_view CheckDelay(const CodeLineFields& f, int64_t) {
    return Passes(ReadFloat(f[1]) >= 0.1f, CheckWrongRange);
}

std::string_view CheckLoop(const CodeLineFields& f, int64_t) {
    return Passes(AtLeastOne(f[1]) && AtLeastOne(f[2]), CheckWrongRange);
}

std::string_view CheckComport(const CodeLineFields& f, int64_t) {
    if (!f[1].starts_with("COM")) {
        return CheckWrongRange;
    }
    return Passes(ReadComType(f[2]) != ComType::None && !f[3].empty(), CheckWrongChoice);
}

// A target beyond the last step passes: it is passed over when played.
std::string_view CheckJump(const CodeLineFields& f, int64_t) {
    return Passes(AtLeastOne(f[1]), CheckWrongRange);
}

std::string_view CheckNothing(const CodeLineFields&, int64_t) {
    return {};
}

std::string_view CheckExecute(const CodeLineFields& f, int64_t) {
    return Passes(!f[1].empty(), CheckWrongChoice);
}

// A known kind with a value of its form, a time of 0 to 86400, an else step of 0 or more and no
// more than the lines after the header: a time-out must have a step to go to.
std::string_view CheckWait(const CodeLineFields& f, int64_t codeLines) {
    float seconds = 0.0f;
    if (!WaitValueValid(f[1], f[2]) || !ReadWaitTime(f[3], seconds) || !ZeroOrMore(f[4])) {
        return CheckWrongChoice;
    }
    return Passes(ReadInteger64(f[4]) <= codeLines, CheckWrongRange);
}

// A known action, a title to look for, X and Y plain integers ("-" allowed: a monitor left of or
// above the main one), and a size of at least 1 by 1.
std::string_view CheckWindow(const CodeLineFields& f, int64_t) {
    const WindowActionRow* action = FindWindowAction(f[1]);
    int32_t x = 0;
    int32_t y = 0;
    if (action == nullptr || f[2].empty() || !ReadCoordinate(f[3], x) || !ReadCoordinate(f[4], y)) {
        return CheckWrongChoice;
    }
    return Passes(action->point != WindowPoint::Size || (x >= 1 && y >= 1), CheckWrongRange);
}

// A known action, a value of the form "V FILE" (the file itself is not opened) and X and Y plain
// integers, "-" allowed: an offset may point left of or above the picture's centre.
std::string_view CheckImage(const CodeLineFields& f, int64_t) {
    PictureValue picture;
    int32_t x = 0;
    int32_t y = 0;
    return Passes(FindImageDo(f[1]) != nullptr && ReadPictureValue(f[2], picture) &&
                      ReadCoordinate(f[3], x) && ReadCoordinate(f[4], y),
                  CheckWrongChoice);
}

// [SECTION] The table

constexpr StepType kStepTypes[] = {
    {TypeMouse, "1 Mouse", "MOUSE", kMouseFields, CheckMouse,
     "1;L_Click/Ldbl_Click/R_Click/M_Click;X;Y;Remarks"},
    {TypeKeyboard, "2 Keyboard", "KEYBOARD", kKeyboardFields, CheckKeyboard,
     "2;String/Key;MyString/{F2};Rermarks"},
    {TypeDelay, "3 Delay", "DELAY", kDelayFields, CheckDelay, "3;Time;Remarks"},
    {TypeLoop, "4 Loop", "LOOP", kLoopFields, CheckLoop, "4;FromStepNo;Repetitions;Remarks"},
    {TypeComport, "5 Comport", "COMPORT", kComportFields, CheckComport,
     "5;COM1;Initialise;9600 N 8 1;Remarks"},
    {TypeJump, "6 Jump", "JUMP", kJumpFields, CheckJump, "6;ToStepNo;Remarks"},
    {TypeState, "7 State", "STATE", kStateFields, CheckNothing, "7;MyStateText;Remarks"},
    {TypeExecute, "8 Execute", "EXECUTE", kExecuteFields, CheckExecute, "8;Filepath;Remarks"},
    {TypeMessage, "9 Message", "MESSAGE", kMessageFields, CheckNothing, "9;MyMessageText;Remarks"},
    {TypeWait, "10 Wait", "WAIT", kWaitFields, CheckWait,
     "10;Window/Active/NoWindow/Pixel/Answer/Image;Value;Seconds;ElseStepNo;Remarks"},
    {TypeWindow, "11 Window", "WINDOW", kWindowFields, CheckWindow,
     "11;L_Click/Activate/Move/Size/Close...;TitlePart;X;Y;Remarks"},
    {TypeImage, "12 Image", "IMAGE", kImageFields, CheckImage,
     "12;L_Click/Ldbl_Click/R_Click/M_Click/Move;V File;X;Y;Remarks"},
};

constexpr bool RowsFit() {
    int32_t before = 0;
    for (const StepType& row : kStepTypes) {
        if (row.number <= before || row.number > 99 || row.fields.size() + 2 > CodeLineFieldsMax) {
            return false;
        }
        before = row.number;
    }
    return true;
}
static_assert(RowsFit(), "types ascend, have at most two digits and fit CodeLineFieldsMax fields");

}  // namespace

CodeLineFields SplitCodeLine(std::string_view line) {
    CodeLineFields fields{};
    for (std::string_view& field : fields) {
        const size_t end = line.find(';');
        field = line.substr(0, end);
        if (end == std::string_view::npos) {
            break;
        }
        line.remove_prefix(end + 1);
    }
    return fields;
}

int32_t ReadStepType(std::string_view firstField) {
    // The exact text of a number is its decimal digits without a leading zero.
    int32_t number = 0;
    if (firstField.size() > StepTypeFieldLongest || firstField.starts_with('0') ||
        !ReadCount(firstField, number)) {
        return 0;
    }
    return FindStepType(number) != nullptr ? number : 0;
}

std::span<const StepType> StepTypes() {
    return kStepTypes;
}

const StepType* FindStepType(int32_t type) {
    const auto* found = std::find_if(std::begin(kStepTypes), std::end(kStepTypes),
                                     [type](const StepType& row) { return row.number == type; });
    return found != std::end(kStepTypes) ? found : nullptr;
}

const char* TypeChooserText(int32_t type) {
    const StepType* row = FindStepType(type);
    return row != nullptr ? row->chooserText : "";
}

const char* TypeUpperName(int32_t type) {
    const StepType* row = FindStepType(type);
    return row != nullptr ? row->upperName : "";
}

int32_t TypeFromChooserText(std::string_view text) {
    for (const StepType& row : kStepTypes) {
        if (text == row.chooserText) {
            return row.number;
        }
    }
    return 0;
}

void ClearStepFields(StepRecord& step, int32_t type) {
    if (const StepType* row = FindStepType(type)) {
        for (const StepField& field : row->fields) {
            field.read(step, "");
        }
    }
}
