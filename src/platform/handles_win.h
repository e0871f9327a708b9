#pragma once

// Move-only owners of the Win32 handles the product and its test tools create. One template,
// ScopedHandle, serves every kind; a traits type per kind says which value means "none" and how a
// handle is given back, and may carry what giving it back needs (a DC's window, say).

#include <windows.h>

#include <utility>

// Traits: `Handle`, `static constexpr Handle kEmpty`, `static bool IsValid(Handle)` and
// `void Close(Handle) const`, called once for each valid handle held.
template <typename Traits>
class ScopedHandle {
  public:
    using Handle = typename Traits::Handle;

    ScopedHandle() = default;
    explicit ScopedHandle(Handle handle, Traits traits = Traits())
        : handle_(handle), traits_(traits) {}
    ScopedHandle(ScopedHandle&& other) noexcept
        : handle_(other.Release()), traits_(other.traits_) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = other.Release();
            traits_ = other.traits_;
        }
        return *this;
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle() { Reset(); }

    // Gives back the handle held, if any, and holds `handle` instead, to be given back alike.
    void Reset(Handle handle = Traits::kEmpty) {
        const Handle old = std::exchange(handle_, handle);
        if (Traits::IsValid(old)) traits_.Close(old);
    }
    // Stops owning the handle and returns it.
    Handle Release() { return std::exchange(handle_, Traits::kEmpty); }
    Handle get() const { return handle_; }
    explicit operator bool() const { return Traits::IsValid(handle_); }

  private:
    Handle handle_ = Traits::kEmpty;
    Traits traits_;
};

// A kernel object (process, event, file). Opening calls fail with null, CreateFile with
// INVALID_HANDLE_VALUE: neither is closed, so either result may be stored and tested as it is.
struct KernelHandleTraits {
    using Handle = HANDLE;
    static constexpr Handle kEmpty = nullptr;
    static bool IsValid(Handle handle) {
        return handle != nullptr && handle != INVALID_HANDLE_VALUE;
    }
    void Close(Handle handle) const { CloseHandle(handle); }
};
using ScopedKernelHandle = ScopedHandle<KernelHandleTraits>;

// A GDI object (bitmap) deleted with DeleteObject.
struct GdiObjectTraits {
    using Handle = HGDIOBJ;
    static constexpr Handle kEmpty = nullptr;
    static bool IsValid(Handle handle) { return handle != nullptr; }
    void Close(Handle handle) const { DeleteObject(handle); }
};
using ScopedGdiObject = ScopedHandle<GdiObjectTraits>;

// An icon loaded from a file, destroyed with DestroyIcon.
struct IconTraits {
    using Handle = HICON;
    static constexpr Handle kEmpty = nullptr;
    static bool IsValid(Handle handle) { return handle != nullptr; }
    void Close(Handle handle) const { DestroyIcon(handle); }
};
using ScopedIcon = ScopedHandle<IconTraits>;

// Memory the system allocated for the caller with LocalAlloc (a security descriptor, say).
struct LocalMemoryTraits {
    using Handle = HLOCAL;
    static constexpr Handle kEmpty = nullptr;
    static bool IsValid(Handle handle) { return handle != nullptr; }
    void Close(Handle handle) const { LocalFree(handle); }
};
using ScopedLocalMemory = ScopedHandle<LocalMemoryTraits>;

// A device context from GetDC, released to the window it came from.
struct WindowDcTraits {
    using Handle = HDC;
    static constexpr Handle kEmpty = nullptr;
    static bool IsValid(Handle handle) { return handle != nullptr; }
    void Close(Handle handle) const { ReleaseDC(window, handle); }
    HWND window = nullptr;
};

// A window's device context; a null window gives the whole screen's.
class WindowDC : public ScopedHandle<WindowDcTraits> {
  public:
    explicit WindowDC(HWND window) : ScopedHandle(GetDC(window), WindowDcTraits{window}) {}
};

// A memory device context; the object it had selected before goes back in before DeleteDC, so
// that the object selected by the owner can be deleted afterwards.
struct MemoryDcTraits {
    using Handle = HDC;
    static constexpr Handle kEmpty = nullptr;
    static bool IsValid(Handle handle) { return handle != nullptr; }
    void Close(Handle handle) const {
        if (previous != nullptr) SelectObject(handle, previous);
        DeleteDC(handle);
    }
    HGDIOBJ previous = nullptr;
};

// A memory device context compatible with `dc`, with `object` selected into it while it lives.
class MemoryDC : public ScopedHandle<MemoryDcTraits> {
  public:
    MemoryDC(HDC dc, HGDIOBJ object) : ScopedHandle(SelectInto(CreateCompatibleDC(dc), object)) {}

  private:
    static ScopedHandle SelectInto(HDC memory, HGDIOBJ object) {
        return ScopedHandle(
            memory, MemoryDcTraits{memory != nullptr ? SelectObject(memory, object) : nullptr});
    }
};
