// A kernel handle (file, device) that is closed when it goes out of scope.
#pragma once

#include "platform/win32/WinApi.h"

namespace win32 {

class ScopedHandle {
public:
    explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
    ~ScopedHandle() {
        if (IsValid()) {
            CloseHandle(handle_);
        }
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;

    bool IsValid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE Get() const { return handle_; }

private:
    HANDLE handle_;
};

// The contract's classes keep their handle as an integer, so that no header outside
// platform/win32 needs windows.h.
inline HANDLE AsHandle(intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}
inline intptr_t AsInteger(HANDLE handle) {
    return reinterpret_cast<intptr_t>(handle);
}

}  // namespace win32
