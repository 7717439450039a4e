// The step record: one shape for every step type (their rows: steps/StepTypes.h).
#pragma once

#include <cstdint>
#include <string>

constexpr int32_t TypeMouse = 1;
constexpr int32_t TypeKeyboard = 2;
constexpr int32_t TypeDelay = 3;
constexpr int32_t TypeLoop = 4;
constexpr int32_t TypeComport = 5;
constexpr int32_t TypeJump = 6;
constexpr int32_t TypeState = 7;
constexpr int32_t TypeExecute = 8;
constexpr int32_t TypeMessage = 9;
constexpr int32_t TypeWait = 10;
constexpr int32_t TypeWindow = 11;
constexpr int32_t TypeImage = 12;

// Fields in file order; a field that the step's type does not use keeps its empty value.
struct StepRecord {
    int32_t RECORDtype = 0;
    std::string Remarks;
    std::string MouseClick;  // "L_Click", "Ldbl_Click", "R_Click", "M_Click"
    int32_t MouseX = 0;
    int32_t MouseY = 0;
    std::string KeyType;     // "String" or "Key"
    std::string KeyName;     // "{F2}", used when KeyType is not "String"
    std::string KeyString;   // used when KeyType is "String"
    float DelayTime = 0.0f;  // seconds
    int32_t LoopFrom = 0;    // step number
    int32_t LoopCount = 0;
    std::string ComPort;   // "COM1"
    std::string ComType;   // "Initialise", "String", "Hex", "Byte"
    std::string ComValue;  // port parameters or telegram
    int32_t JumpTo = 0;    // step number
    std::string StateText;
    std::string ExecFile;
    std::string MessageText;
    std::string WaitFor;      // "Window", "Active", "NoWindow", "Pixel", "Answer", "Image"
    std::string WaitValue;    // the title text, "X Y RRGGBB [V]", "COMn TEXT" or "V FILE"
    float WaitTime = 0.0f;    // seconds
    int32_t WaitElse = 0;     // step number played on a time-out; 0 holds the run
    std::string WindowDo;     // "L_Click", "Activate", "Move", "Size", "Close"...
    std::string WindowTitle;  // a part of the window's title, letter case ignored
    int32_t WindowX = 0;      // a point in the window, a screen point or a width, by WindowDo
    int32_t WindowY = 0;
    std::string ImageDo;     // a click kind ("L_Click") or "Move"
    std::string ImageValue;  // "V FILE": the tolerance per colour channel and the picture file
    int32_t ImageX = 0;      // added to the picture's centre, in the coordinates Mouse steps use
    int32_t ImageY = 0;

    bool operator==(const StepRecord&) const = default;
};

// A new step: a Delay of 0.5 seconds, everything else empty.
StepRecord NewStepRecord();
