// The step list: its operations at the edges (empty list, first, last, none current).

#include "steps/RList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "steps/Numbers.h"
#include "steps/StepRecord.h"
#include "steps/StepTypes.h"

namespace {

// Fills the list with steps whose remarks are the letters of `remarks`; the last one current.
void Fill(StepList& list, const std::string& remarks) {
    for (char c : remarks) {
        list.AddAfterCurrent().Remarks = std::string(1, c);
    }
}

std::string RemarksInOrder(const StepList& list) {
    std::string text;
    for (const StepRecord& step : list.Elements()) {
        text += step.Remarks;
    }
    return text;
}

TEST(StepListEmpty, NothingIsCurrent) {
    StepList list;
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Index(), -1);
    EXPECT_EQ(list.Current(), nullptr);
    list.First();
    EXPECT_EQ(list.Current(), nullptr);
    list.Last();
    EXPECT_EQ(list.Current(), nullptr);
    list.Previous();
    EXPECT_EQ(list.Index(), -1);
    EXPECT_FALSE(list.Next());
    EXPECT_EQ(list.Index(), -1);
    list.DeleteCurrent();
    EXPECT_EQ(list.Count(), 0);
    list.Select(0);
    EXPECT_EQ(list.Current(), nullptr);
}

TEST(StepListAdding, AddAfterCurrentKeepsOrderAndIsEmpty) {
    StepList list;
    Fill(list, "abc");
    EXPECT_EQ(RemarksInOrder(list), "abc");
    EXPECT_EQ(list.Index(), 2);
    list.Select(0);
    StepRecord& added = list.AddAfterCurrent();
    EXPECT_EQ(added, StepRecord{});
    EXPECT_EQ(list.Index(), 1);
    EXPECT_EQ(list.Current(), &added);
    EXPECT_EQ(list.Count(), 4);
}

TEST(StepListAdding, AddWithNoneCurrentGoesToTheStart) {
    StepList list;
    Fill(list, "ab");
    list.Select(-1);
    list.AddAfterCurrent().Remarks = "x";
    EXPECT_EQ(RemarksInOrder(list), "xab");
    EXPECT_EQ(list.Index(), 0);
}

TEST(StepListAdding, InsertBeforeCurrent) {
    StepList list;
    Fill(list, "ab");
    list.Select(1);
    list.InsertBeforeCurrent().Remarks = "x";
    EXPECT_EQ(RemarksInOrder(list), "axb");
    EXPECT_EQ(list.Index(), 1);
    list.First();
    list.InsertBeforeCurrent().Remarks = "y";
    EXPECT_EQ(RemarksInOrder(list), "yaxb");
    EXPECT_EQ(list.Index(), 0);
}

TEST(StepListAdding, InsertWithNoneCurrentGoesToTheEnd) {
    StepList list;
    Fill(list, "ab");
    list.Select(7);
    list.InsertBeforeCurrent().Remarks = "x";
    EXPECT_EQ(RemarksInOrder(list), "abx");
    EXPECT_EQ(list.Index(), 2);
    StepList empty;
    empty.InsertBeforeCurrent().Remarks = "y";
    EXPECT_EQ(empty.Count(), 1);
    EXPECT_EQ(empty.Index(), 0);
}

TEST(StepListDeleting, ThePreviousBecomesCurrent) {
    StepList list;
    Fill(list, "abc");
    list.Select(2);
    list.DeleteCurrent();
    EXPECT_EQ(RemarksInOrder(list), "ab");
    EXPECT_EQ(list.Current()->Remarks, "b");
    list.DeleteCurrent();
    EXPECT_EQ(list.Current()->Remarks, "a");
}

TEST(StepListDeleting, DeletingTheFirstLeavesNoneCurrent) {
    StepList list;
    Fill(list, "abc");
    list.First();
    list.DeleteCurrent();
    EXPECT_EQ(RemarksInOrder(list), "bc");
    EXPECT_EQ(list.Index(), -1);
    EXPECT_EQ(list.Current(), nullptr);
    list.DeleteCurrent();
    EXPECT_EQ(RemarksInOrder(list), "bc");
}

TEST(StepListDeleting, DeletingTheOnlyStepEmptiesTheList) {
    StepList list;
    Fill(list, "a");
    list.DeleteCurrent();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Current(), nullptr);
}

TEST(StepListMoving, FirstLastPreviousNext) {
    StepList list;
    Fill(list, "abc");
    list.First();
    EXPECT_EQ(list.Index(), 0);
    list.Previous();
    EXPECT_EQ(list.Index(), 0);
    EXPECT_TRUE(list.Next());
    EXPECT_EQ(list.Current()->Remarks, "b");
    list.Last();
    EXPECT_EQ(list.Index(), 2);
    EXPECT_FALSE(list.Next());
    EXPECT_EQ(list.Index(), 2);
    list.Previous();
    EXPECT_EQ(list.Current()->Remarks, "b");
}

TEST(StepListMoving, NextWithNoneCurrentGoesToTheFirst) {
    StepList list;
    Fill(list, "ab");
    list.Select(-1);
    EXPECT_TRUE(list.Next());
    EXPECT_EQ(list.Index(), 0);
}

TEST(StepListMoving, SelectByIndex) {
    StepList list;
    Fill(list, "abc");
    list.Select(2);
    EXPECT_EQ(list.Current()->Remarks, "c");
    for (int outside : {-1, 3, 100}) {
        list.Select(1);
        list.Select(outside);
        EXPECT_EQ(list.Index(), -1) << outside;
        EXPECT_EQ(list.Current(), nullptr) << outside;
    }
    list.Select(0);
    EXPECT_EQ(&list.At(0), list.Current());
}

TEST(StepListClearing, ClearEmptiesAndLeavesNoneCurrent) {
    StepList list;
    Fill(list, "abc");
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Index(), -1);
}

TEST(StepListClearing, ReplaceTakesTheStepsAndLeavesNoneCurrent) {
    StepList list;
    Fill(list, "abc");
    std::vector<StepRecord> steps(2);
    steps[0].Remarks = "x";
    steps[1].Remarks = "y";
    list.Replace(std::move(steps));
    EXPECT_EQ(RemarksInOrder(list), "xy");
    EXPECT_EQ(list.Index(), -1);
}

TEST(StepRecordTypes, NamesAndChooserTexts) {
    const std::vector<std::pair<std::string, std::string>> names = {
        {"1 Mouse", "MOUSE"}, {"2 Keyboard", "KEYBOARD"}, {"3 Delay", "DELAY"},
        {"4 Loop", "LOOP"},   {"5 Comport", "COMPORT"},   {"6 Jump", "JUMP"},
        {"7 State", "STATE"}, {"8 Execute", "EXECUTE"},   {"9 Message", "MESSAGE"},
        {"10 Wait", "WAIT"},  {"12 Image", "IMAGE"},
    };
    for (const auto& [chooserText, upperName] : names) {
        const int32_t type = ReadInteger(chooserText);
        SCOPED_TRACE(type);
        EXPECT_EQ(TypeChooserText(type), chooserText);
        EXPECT_EQ(TypeUpperName(type), upperName);
        EXPECT_EQ(TypeFromChooserText(chooserText), type);
    }
    for (int type : {0, 13, -1}) {
        EXPECT_STREQ(TypeChooserText(type), "");
        EXPECT_STREQ(TypeUpperName(type), "");
    }
    EXPECT_EQ(TypeFromChooserText("1 mouse"), 0);
    EXPECT_EQ(TypeFromChooserText(""), 0);
}

TEST(StepRecordTypes, NewStepIsAHalfSecondDelay) {
    StepRecord expected;
    expected.RECORDtype = TypeDelay;
    expected.DelayTime = 0.5f;
    EXPECT_EQ(NewStepRecord(), expected);
}

}  // namespace
