#include "steps/RList.h"

#include <iterator>
#include <utility>

StepList RList;

void StepList::Clear() {
    steps_.clear();
    current_ = -1;
}

void StepList::Replace(std::vector<StepRecord>&& steps) {
    current_ = -1;
    steps_ = std::move(steps);
}

StepRecord& StepList::AddAfterCurrent() {
    const int at = current_ + 1;  // -1 (none current) inserts at the start
    steps_.emplace(std::next(steps_.begin(), at));
    current_ = at;
    return steps_[static_cast<size_t>(at)];
}

StepRecord& StepList::InsertBeforeCurrent() {
    const int at = current_ < 0 ? Count() : current_.load();
    steps_.emplace(std::next(steps_.begin(), at));
    current_ = at;
    return steps_[static_cast<size_t>(at)];
}

void StepList::DeleteCurrent() {
    const int at = current_;
    if (at < 0) {
        return;
    }
    steps_.erase(std::next(steps_.begin(), at));
    current_ = at - 1;
}

void StepList::First() {
    current_ = steps_.empty() ? -1 : 0;
}

void StepList::Last() {
    current_ = Count() - 1;
}

void StepList::Previous() {
    if (current_ > 0) {
        --current_;
    }
}

bool StepList::Next() {
    if (current_ + 1 >= Count()) {
        return false;
    }
    ++current_;
    return true;
}

void StepList::Select(int index) {
    current_ = index >= 0 && index < Count() ? index : -1;
}

StepRecord* StepList::Current() {
    const int at = current_;
    return at < 0 ? nullptr : &steps_[static_cast<size_t>(at)];
}
