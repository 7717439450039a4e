#include "steps/StepRecord.h"

StepRecord NewStepRecord() {
    StepRecord step;
    step.RECORDtype = TypeDelay;
    step.DelayTime = 0.5f;
    return step;
}
