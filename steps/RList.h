// The step list: an ordered list of step records with one current element.
//
// The main thread changes the list only while no run is active; the player thread moves the
// current element during a run. The current index is therefore atomic; the elements are not
// guarded (the editing commands are locked for the length of a run).
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "steps/StepRecord.h"

class StepList {
public:
    // Empties the list; no element is current.
    void Clear();
    // Replaces every element by `steps` in one move (a whole file); no element is current.
    void Replace(std::vector<StepRecord>&& steps);
    // Adds an empty element after the current one (at the start when none is current); it
    // becomes current.
    StepRecord& AddAfterCurrent();
    // Inserts an empty element before the current one (at the end when none is current); it
    // becomes current.
    StepRecord& InsertBeforeCurrent();
    // Deletes the current element; the one before it becomes current. Deleting the first element
    // leaves no element current. Nothing happens when none is current.
    void DeleteCurrent();
    void First();  // no element current on an empty list
    void Last();
    // Goes back one element; stays on the first.
    void Previous();
    // Advances one element; false (and stays) on the last. With none current, goes to the first.
    bool Next();
    // Makes the element with the 0-based index current; an index outside leaves none current.
    void Select(int index);
    // 0-based index of the current element, -1 when none is current.
    int Index() const { return current_.load(); }
    int Count() const { return static_cast<int>(steps_.size()); }
    // The current element, nullptr when none is current.
    StepRecord* Current();
    // Every element in order, for iteration.
    const std::vector<StepRecord>& Elements() const { return steps_; }
    StepRecord& At(int index) { return steps_[static_cast<size_t>(index)]; }

private:
    std::vector<StepRecord> steps_;
    std::atomic<int> current_{-1};
};

extern StepList RList;
