#include "steps/StepRecord.h"

#include <array>

namespace {

struct TypeNames {
    const char* chooserText;
    const char* upperName;
};

// Index = RECORDtype - 1.
constexpr std::array<TypeNames, 10> kTypeNames{{
    {"1 Mouse", "MOUSE"},
    {"2 Keyboard", "KEYBOARD"},
    {"3 Delay", "DELAY"},
    {"4 Loop", "LOOP"},
    {"5 Comport", "COMPORT"},
    {"6 Jump", "JUMP"},
    {"7 State", "STATE"},
    {"8 Execute", "EXECUTE"},
    {"9 Message", "MESSAGE"},
    {"10 Wait", "WAIT"},
}};

bool IsKnownType(int32_t type) {
    return type >= TypeMouse && type <= TypeWait;
}

}  // namespace

const char* TypeChooserText(int32_t type) {
    return IsKnownType(type) ? kTypeNames[static_cast<size_t>(type - 1)].chooserText : "";
}

const char* TypeUpperName(int32_t type) {
    return IsKnownType(type) ? kTypeNames[static_cast<size_t>(type - 1)].upperName : "";
}

int32_t TypeFromChooserText(const std::string& text) {
    for (int32_t type = TypeMouse; type <= TypeWait; ++type) {
        if (text == TypeChooserText(type)) {
            return type;
        }
    }
    return 0;
}

StepRecord NewStepRecord() {
    StepRecord step;
    step.RECORDtype = TypeDelay;
    step.DelayTime = 0.5f;
    return step;
}
