// Comport steps: the port registry of a run, what the device is set to and receives, the
// telegram encodings and every failure with its message and pause.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Forms/FormMAIN.h"
#include "platform/headless/headless.h"
#include "platform/window.h"
#include "player/Player.h"
#include "tests/unit/player_test_steps.h"

namespace {

using namespace steps;

class ComportTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        headless::AddSerialDevice("COM1");
    }

    // Plays the list; a run that pauses on a failure is stopped after a second.
    void PlayStoppingPauses(const std::vector<StepRecord>& list) {
        headless::ScheduleAt(60'000 * kMs, [] { StopSteps(0); });
        headless::OnBoxShown([](const headless::ShownBox&) {
            if (PlayPaused == 1) {
                headless::ScheduleAt(headless::VirtualMicroseconds() + 1000 * kMs,
                                     [] { StopSteps(0); });
            }
        });
        Play(list);
    }
};

TEST_F(ComportTest, InitialiseThenStringSetsThePortUpAndSendsTheBytes) {
    Play({Com("COM1", "Initialise", "9600 N 8 1"), Com("COM1", "String", "ATZ")});
    const auto device = headless::GetSerialDevice("COM1");
    EXPECT_EQ(device.written, "ATZ");
    EXPECT_EQ(device.opens, 1);
    EXPECT_FALSE(device.open);
    EXPECT_EQ(device.inputQueue, 1024u);
    EXPECT_EQ(device.outputQueue, 1024u);
    EXPECT_EQ(device.settings.baudRate, 9600u);
    EXPECT_EQ(device.settings.parity, 0);
    EXPECT_EQ(device.settings.dataBits, 8);
    EXPECT_EQ(device.settings.stopBits, 0);
    EXPECT_TRUE(device.settings.parityCheck);
    EXPECT_FALSE(device.settings.ctsFlow);
    EXPECT_FALSE(device.settings.rtsOn);
    EXPECT_EQ(device.timeouts.readInterval, 0u);
    EXPECT_EQ(device.timeouts.readMultiplier, 0u);
    EXPECT_EQ(device.timeouts.readConstant, 0u);
    EXPECT_EQ(device.timeouts.writeMultiplier, 100u);
    EXPECT_EQ(device.timeouts.writeConstant, 10u);
    EXPECT_TRUE(TakeBoxes().empty());
    EXPECT_EQ(NowMs(), 400);
}

TEST_F(ComportTest, TheFirstRegistrationOfAPortInARunStays) {
    Play({Com("COM1", "Initialise", "9600 N 8 1"), Com("COM1", "Initialise", "19200 E 7 2"),
          Com("COM1", "String", "x")});
    const auto settings = headless::GetSerialDevice("COM1").settings;
    EXPECT_EQ(settings.baudRate, 9600u);
    EXPECT_EQ(settings.parity, 0);
    EXPECT_EQ(settings.dataBits, 8);
    EXPECT_EQ(settings.stopBits, 0);
    ASSERT_EQ(LastRun().ports.size(), 1u);
}

struct ParameterCase {
    const char* text;
    uint32_t baud;
    uint8_t parity, dataBits, stopBitsCode;
};

TEST_F(ComportTest, ParameterTextsAreReadItemByItem) {
    const ParameterCase cases[] = {
        {"19200 E 7 2", 19200, 2, 7, 2}, {"300 O 5 1", 300, 1, 5, 0},
        {"9600 X 8 1", 9600, 0, 8, 0},   {"9600 n 8 1", 9600, 0, 8, 0},
        {"9600 N 8 3", 9600, 0, 8, 1},   {"9600 N 8 0", 9600, 0, 8, 1},
        {"9600  N 8 1", 9600, 0, 0, 1},  {"$2580 E 8 2", 9600, 2, 8, 2},
    };
    for (const ParameterCase& parameters : cases) {
        headless::Reset();
        SetUp();
        Play({Com("COM1", "Initialise", parameters.text), Com("COM1", "String", "x")});
        const auto settings = headless::GetSerialDevice("COM1").settings;
        EXPECT_EQ(settings.baudRate, parameters.baud) << parameters.text;
        EXPECT_EQ(settings.parity, parameters.parity) << parameters.text;
        EXPECT_EQ(settings.dataBits, parameters.dataBits) << parameters.text;
        EXPECT_EQ(settings.stopBits, parameters.stopBitsCode) << parameters.text;
    }
}

TEST_F(ComportTest, ASendOnAPortNotRegisteredPausesWithoutAWait) {
    headless::AddSerialDevice("COM2");
    auto paused = std::make_shared<int32_t>(-1);
    headless::ScheduleAt(500 * kMs, [paused] { *paused = PlayPaused; });
    headless::ScheduleAt(1000 * kMs, [] { PlaySteps(0); });
    headless::ScheduleAt(2000 * kMs, [] { StopSteps(0); });
    Play({Com("COM1", "Initialise", "9600 N 8 1"), Com("COM2", "String", "ATZ"),
          Com("com1", "String", "ATZ"), Marker(4)});
    EXPECT_EQ(TakeBoxes(), (std::vector<std::string>{"COM port: Port is not initialised!",
                                                     "COM port: Port is not initialised!"}));
    EXPECT_EQ(*paused, 1);
    EXPECT_EQ(headless::GetSerialDevice("COM1").opens, 0);
    EXPECT_EQ(headless::GetSerialDevice("COM2").opens, 0);
    EXPECT_TRUE(PointerMoves().empty());
    EXPECT_EQ(NowMs(), 2000);
    EXPECT_TRUE(platform::IsControlEnabled(ButtonPlay));
}

TEST_F(ComportTest, TheButtonsShowThePauseAPortFailureCauses) {
    headless::OnBoxShown([](const headless::ShownBox&) {
        EXPECT_TRUE(platform::IsControlEnabled(ButtonPlay));
        EXPECT_FALSE(platform::IsControlEnabled(ButtonPause));
        EXPECT_TRUE(platform::IsControlEnabled(ButtonStop));
        EXPECT_TRUE(platform::IsMenuItemEnabled(MenuPlay));
        EXPECT_FALSE(platform::IsMenuItemEnabled(MenuPause));
        EXPECT_TRUE(platform::IsMenuItemEnabled(MenuStop));
        EXPECT_EQ(PlayPaused, 1);
    });
    headless::ScheduleAt(1000 * kMs, [] { StopSteps(0); });
    Play({Com("COM1", "Hex", "F4")});
    EXPECT_EQ(TakeBoxes().size(), 1u);
}

TEST_F(ComportTest, ANewRunForgetsTheRegisteredPorts) {
    Play({Com("COM1", "Initialise", "9600 N 8 1")});
    headless::ScheduleAt(headless::VirtualMicroseconds() + 500 * kMs, [] { StopSteps(0); });
    Play({Com("COM1", "String", "ATZ")});
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"COM port: Port is not initialised!"});
}

TEST_F(ComportTest, APortThatCannotBeOpenedPausesAndPlayGoesOnWithTheNextStep) {
    headless::ScheduleAt(1000 * kMs, [] { PlaySteps(0); });
    Play({Com("COM7", "Initialise", "9600 N 8 1"), Com("COM7", "String", "ATZ"), Marker(3)});
    EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"COM port: Can't open port!"});
    EXPECT_EQ(PointerMoves(), std::vector<int>{3});
    EXPECT_EQ(NowMs(), 1200);
}

TEST_F(ComportTest, APortInUseOrRefusingTheSettingsIsClosedAgain) {
    for (bool inUse : {true, false}) {
        headless::Reset();
        SetUp();
        auto device = headless::GetSerialDevice("COM1");
        device.inUse = inUse;
        device.refuseSettings = !inUse;
        headless::SetSerialDevice("COM1", device);
        PlayStoppingPauses({Com("COM1", "Initialise", "9600 N 8 1"), Com("COM1", "String", "A")});
        EXPECT_EQ(TakeBoxes(), std::vector<std::string>{"COM port: Can't open port!"}) << inUse;
        EXPECT_FALSE(headless::GetSerialDevice("COM1").open) << inUse;
        EXPECT_EQ(headless::GetSerialDevice("COM1").written, "") << inUse;
    }
}

struct TelegramCase {
    const char* type;
    const char* value;
    std::string bytes;
};

TEST_F(ComportTest, TelegramsAreSentAsTheirTypeSays) {
    const TelegramCase cases[] = {
        {"Hex", "F4 03 28", std::string("\xF4\x03\x28", 3)},
        {"Hex", "f4  3   a ", std::string("\xF4\x03\x0A", 3)},
        {"Hex", "00 ff", std::string("\x00\xFF", 2)},
        {"Byte", "128 255 1", std::string("\x80\xFF\x01", 3)},
        {"Byte", " 0  007 65 ", std::string("\x00\x07\x41", 3)},
        {"String", "AT Z ", "AT Z "},
        {"String", "", ""},
    };
    for (const TelegramCase& telegram : cases) {
        headless::Reset();
        SetUp();
        Play({Com("COM1", "Initialise", "9600 N 8 1"), Com("COM1", telegram.type, telegram.value)});
        EXPECT_EQ(headless::GetSerialDevice("COM1").written, telegram.bytes)
            << telegram.type << " " << telegram.value;
        EXPECT_TRUE(TakeBoxes().empty()) << telegram.type << " " << telegram.value;
    }
}

struct BadTelegramCase {
    const char* type;
    const char* value;
    const char* message;
};

TEST_F(ComportTest, ATelegramWithAWrongTokenSendsNothingAndSaysWhich) {
    const BadTelegramCase cases[] = {
        {"Hex", "F4 G1 28", "Wrong hex value in telegram: G1"},
        {"Hex", "F4 123", "Wrong hex value in telegram: 123"},
        {"Hex", "0x1F", "Wrong hex value in telegram: 0x1F"},
        {"Hex", "", "No hex value in telegram!"},
        {"Hex", "   ", "No hex value in telegram!"},
        {"Byte", "128 256 1", "Wrong byte value in telegram: 256"},
        {"Byte", "-1", "Wrong byte value in telegram: -1"},
        {"Byte", "1.5", "Wrong byte value in telegram: 1.5"},
        {"Byte", "99999999999999999999", "Wrong byte value in telegram: 99999999999999999999"},
        {"Byte", "", "No byte value in telegram!"},
    };
    for (const BadTelegramCase& telegram : cases) {
        headless::Reset();
        SetUp();
        headless::ScheduleAt(1000 * kMs, [] { StopSteps(0); });
        Play({Com("COM1", "Initialise", "9600 N 8 1"), Com("COM1", telegram.type, telegram.value),
              Marker(3)});
        EXPECT_EQ(TakeBoxes(),
                  std::vector<std::string>{std::string("COM port: ") + telegram.message})
            << telegram.value;
        EXPECT_EQ(headless::GetSerialDevice("COM1").opens, 0) << telegram.value;
        EXPECT_TRUE(PointerMoves().empty()) << telegram.value;
        EXPECT_EQ(NowMs(), 1000) << telegram.value;
    }
}

}  // namespace
