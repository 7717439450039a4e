// Message boxes, file dialogs and the event queue of the headless window system.

#include <chrono>
#include <thread>

#include "platform/headless/State.h"

namespace {

using headless::BoxKind;
using headless::ShownBox;
using headless_state::Lock;
using headless_state::Shared;

// The main window, whose always-on-top state each box records.
constexpr int kMainWindow = 53;

template <typename T>
T TakeScripted(std::deque<T>& answers, T unscripted) {
    if (answers.empty()) {
        return unscripted;
    }
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
}

// A held box gives up waiting for its condition after this long, so that a test that never
// meets it fails instead of hanging.
constexpr auto kLongestHeldBox = std::chrono::seconds(60);

// The box's own modal loop: hands the events queued meanwhile to the program's handler until the
// test's condition says the box is closed.
void RunModalLoop(const ShownBox& box, const std::function<bool(const ShownBox&)>& closeWhen) {
    const auto giveUp = std::chrono::steady_clock::now() + kLongestHeldBox;
    for (;;) {
        platform::HandlePendingEvents();
        if (closeWhen(box) || std::chrono::steady_clock::now() > giveUp) {
            return;
        }
        auto lock = Lock();
        headless_state::EventQueued().wait_for(lock, std::chrono::milliseconds(1),
                                               [] { return !Shared().events.empty(); });
    }
}

// Records the box with its answer, then runs the test's action while the box is open; the box
// closes after it, or, held, once the test's condition holds.
ShownBox Show(BoxKind kind, int owner, std::string_view title, std::string_view text,
              std::string_view folder = {}, std::string_view name = {}) {
    ShownBox box;
    std::function<void(const ShownBox&)> action;
    std::function<bool(const ShownBox&)> closeWhen;
    bool onMainThread = false;
    {
        const auto lock = Lock();
        headless_state::NoteCaller("a box");
        box.kind = kind;
        box.owner = owner;
        box.title = title;
        box.text = text;
        box.folder = folder;
        box.name = name;
        box.thread = std::this_thread::get_id();
        auto main = Shared().windows.find(kMainWindow);
        box.mainWindowTopmost =
            main != Shared().windows.end() && main->second.open && main->second.topmost;
        if (kind == BoxKind::YesNo) {
            box.answer = TakeScripted(Shared().scriptedYesNo, false);
        } else if (kind != BoxKind::Ok) {
            box.path = TakeScripted(Shared().scriptedPaths, std::string());
        }
        Shared().boxes.push_back(box);
        action = Shared().onBoxShown;
        closeWhen = Shared().closeBoxesWhen;
        onMainThread = box.thread == Shared().mainThread;
    }
    if (action) {
        action(box);
    }
    if (closeWhen && onMainThread) {
        RunModalLoop(box, closeWhen);
    }
    return box;
}

std::string FilterText(const platform::FileFilter& filter) {
    return filter.display + "|" + filter.pattern;
}

}  // namespace

namespace platform {

void MessageBoxOk(int owner, std::string_view title, std::string_view text) {
    Show(BoxKind::Ok, owner, title, text);
}

bool MessageBoxYesNo(int owner, std::string_view title, std::string_view text) {
    return Show(BoxKind::YesNo, owner, title, text).answer;
}

std::string OpenFileDialog(std::string_view title, const FileFilter& filter) {
    return Show(BoxKind::OpenFile, -1, title, FilterText(filter)).path;
}

std::string SaveFileDialog(std::string_view title, const FileFilter& filter) {
    return Show(BoxKind::SaveFile, -1, title, FilterText(filter)).path;
}

std::string SaveFileDialogIn(std::string_view title, const FileFilter& filter,
                             std::string_view folder, std::string_view name) {
    return Show(BoxKind::SaveFile, -1, title, FilterText(filter), folder, name).path;
}

void SetEventHandler(EventHandler handler) {
    const auto lock = Lock();
    Shared().eventHandler = handler;
}

void HandlePendingEvents() {
    {
        const auto lock = Lock();
        headless_state::NoteCaller("HandlePendingEvents");
    }
    for (;;) {
        Event event;
        EventHandler handler = nullptr;
        {
            const auto lock = Lock();
            if (Shared().events.empty() || Shared().eventHandler == nullptr) {
                return;
            }
            event = std::move(Shared().events.front());
            Shared().events.pop_front();
            handler = Shared().eventHandler;
        }
        handler(event);
    }
}

void RunMessageLoop() {
    for (;;) {
        HandlePendingEvents();
        auto lock = Lock();
        headless_state::EventQueued().wait(
            lock, [] { return !Shared().events.empty() && Shared().eventHandler != nullptr; });
    }
}

}  // namespace platform

namespace headless {

std::vector<ShownBox> Boxes() {
    const auto lock = Lock();
    return Shared().boxes;
}

void ClearBoxes() {
    const auto lock = Lock();
    Shared().boxes.clear();
}

void ScriptYesNo(bool yes) {
    const auto lock = Lock();
    Shared().scriptedYesNo.push_back(yes);
}

void ScriptFileDialog(const std::string& path) {
    const auto lock = Lock();
    Shared().scriptedPaths.push_back(path);
}

void OnBoxShown(std::function<void(const ShownBox&)> action) {
    std::function<void(const ShownBox&)> replaced;
    const auto lock = Lock();
    std::swap(replaced, Shared().onBoxShown);
    Shared().onBoxShown = std::move(action);
}

void KeepBoxesOpenUntil(std::function<bool(const ShownBox&)> closeWhen) {
    std::function<bool(const ShownBox&)> replaced;
    const auto lock = Lock();
    std::swap(replaced, Shared().closeBoxesWhen);
    Shared().closeBoxesWhen = std::move(closeWhen);
}

void PushEvent(const platform::Event& event) {
    platform::PostEvent(event);
}

std::vector<std::string> WrongThreadCalls() {
    const auto lock = Lock();
    return Shared().wrongThreadCalls;
}

}  // namespace headless

namespace platform {

void PostEvent(const Event& event) {
    {
        const auto lock = Lock();
        Shared().events.push_back(event);
    }
    headless_state::EventQueued().notify_all();
}

}  // namespace platform

namespace headless {

int PendingEvents() {
    const auto lock = Lock();
    return static_cast<int>(Shared().events.size());
}

}  // namespace headless
