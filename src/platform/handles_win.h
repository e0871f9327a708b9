#pragma once

// Move-only owners of the few Win32 handles the dialogs create.

#include <windows.h>

#include <utility>

// A GDI object (bitmap) deleted with DeleteObject.
class ScopedGdiObject {
  public:
    ScopedGdiObject() = default;
    explicit ScopedGdiObject(HGDIOBJ object) : object_(object) {}
    ScopedGdiObject(ScopedGdiObject&& other) noexcept
        : object_(std::exchange(other.object_, nullptr)) {}
    ScopedGdiObject& operator=(ScopedGdiObject&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.object_, nullptr));
        return *this;
    }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
    ~ScopedGdiObject() { Reset(nullptr); }

    void Reset(HGDIOBJ object) {
        if (object_ != nullptr) DeleteObject(object_);
        object_ = object;
    }
    HGDIOBJ get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

  private:
    HGDIOBJ object_ = nullptr;
};

// An icon loaded from a file, destroyed with DestroyIcon.
class ScopedIcon {
  public:
    ScopedIcon() = default;
    explicit ScopedIcon(HICON icon) : icon_(icon) {}
    ScopedIcon(ScopedIcon&& other) noexcept : icon_(std::exchange(other.icon_, nullptr)) {}
    ScopedIcon& operator=(ScopedIcon&& other) noexcept {
        if (this != &other) {
            if (icon_ != nullptr) DestroyIcon(icon_);
            icon_ = std::exchange(other.icon_, nullptr);
        }
        return *this;
    }
    ScopedIcon(const ScopedIcon&) = delete;
    ScopedIcon& operator=(const ScopedIcon&) = delete;
    ~ScopedIcon() {
        if (icon_ != nullptr) DestroyIcon(icon_);
    }
    HICON get() const { return icon_; }

  private:
    HICON icon_ = nullptr;
};

// A window's device context from GetDC, released with ReleaseDC.
class WindowDC {
  public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    ~WindowDC() {
        if (dc_ != nullptr) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// A memory device context compatible with `dc`, with `object` selected into it while it lives.
class MemoryDC {
  public:
    MemoryDC(HDC dc, HGDIOBJ object) : dc_(CreateCompatibleDC(dc)) {
        if (dc_ != nullptr) previous_ = SelectObject(dc_, object);
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC() {
        if (dc_ == nullptr) return;
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
    }
    HDC get() const { return dc_; }

  private:
    HDC dc_;
    HGDIOBJ previous_ = nullptr;
};
