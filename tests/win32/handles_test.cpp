// The handle wrappers: a handle is released exactly once, by its last owner, and never by a
// moved-from or borrowing wrapper; the keyboard hook's owner unhooks.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <utility>
#include <vector>

#include "platform/handles_win32.h"
#include "platform/keyboard_hook_win32.h"
#include "win32/support.h"

namespace {
// Records releases instead of calling the system, so the count is exact.
struct CountingTraits {
    using Handle = int;
    static inline std::vector<int> released;
    static Handle Empty() { return 0; }
    static bool IsValid(Handle h) { return h != 0; }
    static void Release(Handle h) { released.push_back(h); }
};
using Counted = Owned<CountingTraits>;

bool KernelHandleIsOpen(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != 0;
}
}  // namespace

TEST(Handles, OwnershipMovesAndEachHandleIsReleasedOnce) {
    CountingTraits::released.clear();
    {
        Counted a(1);
        Counted b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(b.get(), 1);
        Counted c(2);
        c = std::move(b);  // c's old handle goes now, the moved one stays open
        EXPECT_EQ(CountingTraits::released, std::vector<int>{2});
        Counted& same = c;
        c = std::move(same);  // self-move keeps the handle
        EXPECT_EQ(c.get(), 1);
        Counted d(3);
        EXPECT_EQ(d.release(), 3);  // given up, not released
        d.reset(4);
        d.reset(5);
        Borrowed<CountingTraits> view(c);
        EXPECT_EQ(view.get(), 1);
    }
    // 4 by reset, then at scope end: d (5) and c (1); the borrowed view released nothing.
    EXPECT_EQ(CountingTraits::released, (std::vector<int>{2, 4, 5, 1}));
}

TEST(Handles, RealKernelAndGdiHandlesCloseWhenTheirLastOwnerGoes) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, nullptr);
    {
        OwnedHandle outer;
        {
            OwnedHandle inner(event);
            outer = std::move(inner);
        }
        EXPECT_TRUE(KernelHandleIsOpen(event));
    }
    EXPECT_FALSE(KernelHandleIsOpen(event));

    // INVALID_HANDLE_VALUE, as CreateFileW returns on failure, is never closed.
    { OwnedHandle failed(INVALID_HANDLE_VALUE); EXPECT_FALSE(failed); }

    HRGN region = CreateRectRgn(0, 0, 10, 10);
    {
        OwnedRegion owner(region);
        OwnedRegion moved(std::move(owner));
        EXPECT_EQ(GetObjectType(region), static_cast<DWORD>(OBJ_REGION));
    }
    EXPECT_EQ(GetObjectType(region), 0u);

    // An object selected through SelectScope is put back, so the DC no longer uses it.
    OwnedDC dc(CreateCompatibleDC(nullptr));
    OwnedFont font(CreateFontW(12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial"));
    const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_FONT);
    {
        SelectScope selected(dc.get(), font.get());
        EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), font.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), original);
}

namespace {
// Presses and releases a key nobody uses from another thread while this one pumps messages: the
// hook is called on this thread, and the sender waits for its answer.
void TypeKey(WORD vk) {
    std::atomic<bool> done{false};
    std::thread typing([vk, &done] {
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wVk = input[1].ki.wVk = vk;
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
        done.store(true);
    });
    PumpUntil([&] { return done.load(); });
    typing.join();
}
}  // namespace

TEST(Handles, KeyboardHookServesOneOwnerAtATimeAndUnhooks) {
    std::vector<DWORD> pressed;
    const auto record = [&](UINT message, const KBDLLHOOKSTRUCT& key) {
        if (message == WM_KEYDOWN) pressed.push_back(key.vkCode);
        return false;
    };
    KeyboardHook second;
    {
        KeyboardHook first;
        ASSERT_TRUE(first.Install(record));
        EXPECT_NE(first.Handle(), nullptr);
        EXPECT_FALSE(second.Install(record));

        TypeKey(VK_F13);
        EXPECT_EQ(pressed, std::vector<DWORD>{VK_F13});

        first.Remove();
        EXPECT_EQ(first.Handle(), nullptr);
        TypeKey(VK_F14);
        EXPECT_EQ(pressed.size(), 1u);
        ASSERT_TRUE(first.Install(record));
    }
    // The first owner went while installed, which frees the place for another.
    EXPECT_TRUE(second.Install(record));
}
