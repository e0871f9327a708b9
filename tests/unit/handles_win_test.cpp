#include "platform/handles_win.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// A named event exists while some handle to it is open, which shows whether an owner closed it.
constexpr char kEventName[] = "ZemHandlesTestEvent";

bool EventExists() {
    const ScopedKernelHandle event(OpenEventA(SYNCHRONIZE, FALSE, kEventName));
    return static_cast<bool>(event);
}

ScopedKernelHandle CreateTestEvent() {
    return ScopedKernelHandle(CreateEventA(nullptr, TRUE, FALSE, kEventName));
}

TEST(ScopedKernelHandle, ClosesOnceWhenTheLastOwnerGoes) {
    {
        ScopedKernelHandle first = CreateTestEvent();
        ASSERT_TRUE(first);
        ScopedKernelHandle second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(first.get(), nullptr);
        EXPECT_TRUE(second);
        EXPECT_TRUE(EventExists());
    }
    EXPECT_FALSE(EventExists());
}

TEST(ScopedKernelHandle, MoveAssignmentAndResetCloseWhatWasHeld) {
    ScopedKernelHandle held = CreateTestEvent();
    ASSERT_TRUE(held);
    held = ScopedKernelHandle();
    EXPECT_FALSE(EventExists());

    held = CreateTestEvent();
    held.Reset();
    EXPECT_FALSE(held);
    EXPECT_FALSE(EventExists());
}

TEST(ScopedKernelHandle, ReleaseHandsTheHandleOver) {
    ScopedKernelHandle held = CreateTestEvent();
    HANDLE raw = held.Release();
    EXPECT_FALSE(held);
    EXPECT_TRUE(EventExists());
    EXPECT_TRUE(CloseHandle(raw));
    EXPECT_FALSE(EventExists());
}

TEST(ScopedKernelHandle, FailedOpeningsAreNotHandles) {
    EXPECT_FALSE(ScopedKernelHandle(nullptr));
    EXPECT_FALSE(ScopedKernelHandle(INVALID_HANDLE_VALUE));
    const ScopedKernelHandle missing(CreateFileA("Z:\\no\\such\\file", GENERIC_READ, 0, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_EQ(missing.get(), INVALID_HANDLE_VALUE);
    EXPECT_FALSE(missing);
}

TEST(ScopedGdiObject, DeletesTheObject) {
    HGDIOBJ raw = nullptr;
    {
        const ScopedGdiObject brush(CreateSolidBrush(RGB(1, 2, 3)));
        ASSERT_TRUE(brush);
        raw = brush.get();
        EXPECT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_BRUSH));
    }
    EXPECT_EQ(GetObjectType(raw), 0u);
}

TEST(WindowDC, NullWindowGivesTheScreen) {
    const WindowDC screen(nullptr);
    ASSERT_TRUE(screen);
    EXPECT_GT(GetDeviceCaps(screen.get(), HORZRES), 0);
}

TEST(MemoryDC, HoldsTheObjectSelectedAndLetsItBeDeletedAfter) {
    const WindowDC screen(nullptr);
    ScopedGdiObject bitmap(CreateCompatibleBitmap(screen.get(), 4, 4));
    ASSERT_TRUE(bitmap);
    HGDIOBJ raw = bitmap.get();
    {
        const MemoryDC memory(screen.get(), raw);
        ASSERT_TRUE(memory);
        EXPECT_EQ(GetCurrentObject(memory.get(), OBJ_BITMAP), raw);
    }
    bitmap.Reset();
    EXPECT_EQ(GetObjectType(raw), 0u);
}

}  // namespace
