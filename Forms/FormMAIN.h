// Layout of the main window: the numbers of its window, controls, menu items, fonts and images,
// and the code that creates them. The numbers are the Win32 control and command IDs, so that the
// window can be driven and checked from outside by them.
#pragma once

#include <span>

struct ControlRow;

// Windows
constexpr int FormMAIN = 53;
constexpr int WindowSelectStep = 48;
constexpr int WindowNotice = 112;

// Fonts
constexpr int FontDefault = 0;   // Arial 8 (6 at 120 pixels per inch)
constexpr int FontNotice = 1;    // Arial 14
constexpr int FontBold12 = 101;  // Arial 12 bold
constexpr int FontBold10 = 102;  // Arial 10 bold

// Images
constexpr int ImagePlay = 90;
constexpr int ImagePause = 91;
constexpr int ImageStop = 92;
constexpr int ImageFirst = 93;
constexpr int ImagePrevious = 94;
constexpr int ImageSelectStep = 95;
constexpr int ImageNext = 96;
constexpr int ImageLast = 97;
constexpr int ImageNewEnd = 98;
constexpr int ImageNewFront = 99;
constexpr int ImageDelete = 100;

// Main window controls
constexpr int ButtonPlay = 54;
constexpr int ButtonPause = 55;
constexpr int ButtonStop = 56;
constexpr int FrameStep = 57;
constexpr int ButtonFirst = 58;
constexpr int ButtonPrevious = 59;
constexpr int ButtonSelectStep = 60;
constexpr int ButtonNext = 61;
constexpr int ButtonLast = 62;
constexpr int ButtonNewEnd = 63;
constexpr int ButtonNewFront = 64;
constexpr int ButtonDelete = 65;
constexpr int TextFile = 66;
constexpr int TextState = 67;
constexpr int ContainerStep = 68;
constexpr int ComboType = 69;
constexpr int StringDescription = 70;
constexpr int LabelDescription = 71;
constexpr int TextLoop1 = 72;
constexpr int TextLoop2 = 73;
constexpr int TextLoop3 = 74;

// Step-number popup and notice window.
constexpr int ListSelectStep = 49;
constexpr int TextNotice = 113;

// Editor panel controls (inside ContainerStep)
constexpr int ContainerMouse = 2;
constexpr int ComboClick = 3;
constexpr int StringX = 4;
constexpr int StringY = 5;
constexpr int LabelX = 6;
constexpr int LabelY = 7;
constexpr int LabelClick = 8;
constexpr int TextMouseX = 9;
constexpr int TextMouseY = 10;
constexpr int HintPress = 11;
constexpr int HintF9 = 12;
constexpr int HintToUse = 13;
constexpr int HintValues = 14;
constexpr int ContainerKeyboard = 15;
constexpr int Combo_KeyboardType = 16;
constexpr int StringKeyText = 17;
constexpr int ComboKeyName = 18;
constexpr int LabelKeyboardType = 19;
constexpr int TextKeyLabel = 20;
constexpr int ContainerDelay = 21;
constexpr int StringDelay = 22;
constexpr int LabelSeconds = 23;
constexpr int LabelCountdown = 24;
constexpr int TextCountdown = 25;
constexpr int ContainerLoop = 26;
constexpr int ComboLoopFrom = 27;
constexpr int StringRepetitions = 28;
constexpr int LabelFromStep = 29;
constexpr int LabelRepetitions = 30;
constexpr int ContainerComport = 31;
constexpr int ComboPort = 32;
constexpr int Combo_COMtype = 33;
constexpr int StringTelegram = 34;
constexpr int LabelPort = 35;
constexpr int LabelComType = 36;
constexpr int TextComHint = 37;
constexpr int ContainerJump = 38;
constexpr int ComboJumpTo = 39;
constexpr int LabelJumpTo = 40;
constexpr int ContainerState = 41;
constexpr int StringStateText = 42;
constexpr int LabelStateText = 43;
constexpr int ContainerExecute = 44;
constexpr int LabelExecFile = 45;
constexpr int StringExecFile = 46;
constexpr int ButtonExecFile = 47;
constexpr int ContainerMessage = 50;
constexpr int StringMessageText = 51;
constexpr int LabelMessageText = 52;
constexpr int ContainerWait = 114;
constexpr int LabelWaitFor = 115;
constexpr int ComboWaitFor = 116;
constexpr int LabelWaitValue = 117;
constexpr int StringWaitValue = 118;
constexpr int LabelWaitSeconds = 119;
constexpr int StringWaitTime = 120;
constexpr int LabelWaitElse = 121;
constexpr int ComboWaitElse = 122;
constexpr int TextWaitCountdown = 123;
constexpr int ContainerWindow = 124;
constexpr int LabelWindowDo = 125;
constexpr int ComboWindowDo = 126;
constexpr int LabelWindowTitle = 127;
constexpr int StringWindowTitle = 128;
constexpr int LabelWindowPoint = 129;
constexpr int StringWindowX = 130;
constexpr int StringWindowY = 131;
constexpr int ContainerImage = 132;
constexpr int LabelImageDo = 133;
constexpr int ComboImageDo = 134;
constexpr int LabelImageValue = 135;
constexpr int StringImageValue = 136;
constexpr int ButtonImageCapture = 137;
constexpr int LabelImageOffset = 138;
constexpr int StringImageX = 139;
constexpr int StringImageY = 140;

// Menu items
constexpr int MenuMain = 0;
constexpr int MenuOpen = 75;
constexpr int MenuNew = 76;
constexpr int MenuSave = 77;
constexpr int MenuSaveAs = 78;
constexpr int MenuExit = 80;
constexpr int MenuPlay = 81;
constexpr int MenuPlayFromCurrent = 82;
constexpr int MenuPause = 83;
constexpr int MenuStop = 84;
constexpr int MenuRecord = 86;
constexpr int MenuRecordInWindows = 87;
constexpr int MenuEditor = 85;
constexpr int MenuAbout = 89;

// Creates FormMAIN with its controls in creation order, and its menu bar.
void OpenFormMAIN();
// Creates the menu bar of FormMAIN.
void BuildMainMenu();
// Creates the editor panel's type containers and their controls inside ContainerStep.
void CreatePanelControls();
// The editor panel's creation table.
std::span<const ControlRow> PanelRows();
// The controls a run disables, by one rule over the creation tables (Forms/ControlTable.h).
std::span<const int> RunLockedControls();
