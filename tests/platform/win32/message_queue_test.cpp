#include "platform/win32/win32_fixture.h"

#include <atomic>
#include <thread>
#include <vector>

using namespace win32test;

namespace {

constexpr UINT kFirst = WM_APP + 1;
constexpr UINT kSecond = WM_APP + 2;
constexpr UINT kAsk = WM_APP + 3;
constexpr UINT kAskBack = WM_APP + 4;

class MessageQueueTest : public Win32Test {};

std::vector<UINT> lf_messagesOf(HWND hwnd, std::initializer_list<UINT> kinds) {
    std::vector<UINT> order;
    for (const Received& each : received()) {
        if (each.hwnd != hwnd) continue;
        for (UINT kind : kinds) {
            if (each.message == kind) order.push_back(kind);
        }
    }
    return order;
}

TEST_F(MessageQueueTest, CreateSendsCreateSynchronouslyWithTheCreationData) {
    int creationData = 7;
    setHandler([&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message != WM_CREATE) return std::nullopt;
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        EXPECT_EQ(create->lpCreateParams, &creationData);
        EXPECT_EQ(create->cx, 300);
        return 0;
    });
    HWND hwnd = CreateWindowExW(0, testClassName(), u"T", WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                nullptr, &creationData);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(received(hwnd, WM_CREATE).size(), 1u);

    setHandler([](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_CREATE) return -1;
        return std::nullopt;
    });
    EXPECT_EQ(createTestWindow(), nullptr) << "a WM_CREATE result of -1 fails the creation";
}

TEST_F(MessageQueueTest, SentBeforePostedBeforeQuitAndPaintComesLast) {
    HWND hwnd = createTestWindow();
    standin::pumpUntilIdle();
    clearReceived();

    ASSERT_TRUE(InvalidateRect(hwnd, nullptr, FALSE));
    ASSERT_TRUE(PostMessageW(hwnd, kFirst, 1, 0));
    ASSERT_TRUE(PostMessageW(hwnd, kSecond, 2, 0));
    EXPECT_EQ(SendMessageW(hwnd, kAsk, 0, 0), 0) << "a send on the owner thread runs at once";
    EXPECT_EQ(lf_messagesOf(hwnd, {kFirst, kSecond, kAsk, WM_PAINT}), (std::vector<UINT>{kAsk}));
    EXPECT_EQ(standin::pendingMessages(), 2u);

    PostQuitMessage(3);
    MSG msg;
    std::vector<UINT> taken;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        taken.push_back(msg.message);
        DispatchMessageW(&msg);
    }
    EXPECT_EQ(taken, (std::vector<UINT>{kFirst, kSecond}))
        << "WM_QUIT ends the loop once the posts are served";
    EXPECT_EQ(msg.wParam, 3u);

    standin::pumpUntilIdle();
    EXPECT_EQ(lf_messagesOf(hwnd, {kFirst, kSecond, kAsk, WM_PAINT}),
              (std::vector<UINT>{kAsk, kFirst, kSecond, WM_PAINT}));
}

TEST_F(MessageQueueTest, PumpLeavesQuitForTheLoop) {
    createTestWindow();
    PostQuitMessage(5);
    standin::pumpUntilIdle();
    MSG msg;
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 5u);
}

TEST_F(MessageQueueTest, CrossThreadSendWaitsForTheOwnerWhileItPumps) {
    HWND hwnd = createTestWindow();
    std::thread::id uiThread = std::this_thread::get_id();
    setHandler([](HWND, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == kAsk) return static_cast<LRESULT>(wParam * 2);
        return std::nullopt;
    });
    std::atomic<bool> done{false};
    LRESULT result = 0;
    std::thread worker([&] {
        result = SendMessageW(hwnd, kAsk, 21, 0);
        done = true;
    });
    EXPECT_TRUE(standin::pumpUntil([&] { return done.load(); }));
    worker.join();
    EXPECT_EQ(result, 42);
    std::vector<Received> asks = received(hwnd, kAsk);
    ASSERT_EQ(asks.size(), 1u);
    EXPECT_EQ(asks[0].thread, uiThread) << "the procedure runs on the window's own thread";
}

TEST_F(MessageQueueTest, WaitingSenderServesMessagesSentToIt) {
    // The UI thread, while handling the worker's send, sends to a window of the worker: the
    // worker must serve it while it waits, or both threads would wait forever.
    HWND uiWindow = createTestWindow();
    std::atomic<HWND> workerHwnd{nullptr};
    std::atomic<bool> finished{false};
    setHandler([&](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == kAsk && hwnd == uiWindow) return SendMessageW(workerHwnd.load(), kAskBack, 0, 0) + 1;
        if (message == kAskBack) return 10;
        return std::nullopt;
    });
    LRESULT result = 0;
    std::thread worker([&] {
        workerHwnd = createTestWindow();
        result = SendMessageW(uiWindow, kAsk, 0, 0);
        finished = true;
    });
    EXPECT_TRUE(standin::pumpUntil([&] { return finished.load(); }));
    worker.join();
    EXPECT_EQ(result, 11);
}

TEST_F(MessageQueueTest, PostFromAnotherThreadWakesABlockedGetMessage) {
    HWND hwnd = createTestWindow();
    standin::pumpUntilIdle();
    std::thread worker([hwnd] { PostMessageW(hwnd, kFirst, 77, 0); });
    MSG msg;
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    worker.join();
    EXPECT_EQ(msg.hwnd, hwnd);
    EXPECT_EQ(msg.message, kFirst);
    EXPECT_EQ(msg.wParam, 77u);
}

// Eight threads posting 1,000 messages each to one window: every message arrives, each thread's in
// the order it posted them.
TEST_F(MessageQueueTest, ConcurrentPostsAreAllDeliveredInEachSendersOrder) {
    constexpr int kThreads = 8;
    constexpr int kEach = 1000;
    HWND hwnd = createTestWindow();
    standin::pumpUntilIdle();
    std::vector<std::thread> posters;
    for (int t = 0; t < kThreads; ++t) {
        posters.emplace_back([hwnd, t] {
            for (int i = 0; i < kEach; ++i)
                ASSERT_TRUE(PostMessageW(hwnd, kFirst, static_cast<WPARAM>(t), static_cast<LPARAM>(i)));
        });
    }
    std::vector<int> next(kThreads, 0);
    int taken = 0;
    MSG msg;
    while (taken < kThreads * kEach && GetMessageW(&msg, nullptr, 0, 0)) {
        if (msg.hwnd != hwnd || msg.message != kFirst) continue;
        ASSERT_LT(msg.wParam, static_cast<WPARAM>(kThreads));
        EXPECT_EQ(msg.lParam, next[msg.wParam]) << "thread " << msg.wParam;
        ++next[msg.wParam];
        ++taken;
    }
    for (std::thread& poster : posters)
        poster.join();
    EXPECT_EQ(taken, kThreads * kEach);
    EXPECT_EQ(next, std::vector<int>(kThreads, kEach));
}

TEST_F(MessageQueueTest, InvalidateFromAnotherThreadBringsAPaint) {
    HWND hwnd = createTestWindow();
    standin::pumpUntilIdle();
    clearReceived();
    std::thread worker([hwnd] {
        RECT band{0, 10, 50, 20};
        InvalidateRect(hwnd, &band, FALSE);
    });
    worker.join();
    EXPECT_TRUE(standin::pumpUntil([&] { return !received(hwnd, WM_PAINT).empty(); }));
    standin::pumpUntilIdle();
    EXPECT_EQ(received(hwnd, WM_PAINT).size(), 1u) << "a painted window is valid again";
}

TEST_F(MessageQueueTest, WindowsOfAnEndedThreadAreGoneAndSendsToThemFail) {
    HWND orphan = nullptr;
    std::thread worker([&] { orphan = createTestWindow(); });
    worker.join();
    EXPECT_FALSE(IsWindow(orphan));
    EXPECT_EQ(SendMessageW(orphan, kAsk, 0, 0), 0);
    EXPECT_FALSE(PostMessageW(orphan, kAsk, 0, 0));
}

// Every call on a null or destroyed handle does nothing and fails.
TEST_F(MessageQueueTest, NullAndStaleHandlesAreRefused) {
    HWND stale = createTestWindow();
    HWND child = createControl(stale, u"button", BS_CHECKBOX, 5, RECT{0, 0, 12, 12});
    ASSERT_TRUE(DestroyWindow(stale));
    EXPECT_FALSE(IsWindow(child)) << "destroying a window destroys its children";
    for (HWND hwnd : {static_cast<HWND>(nullptr), stale}) {
        SCOPED_TRACE(hwnd == nullptr ? "null" : "stale");
        RECT rect{1, 2, 3, 4};
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        char16_t buffer[8] = u"keep";
        SetLastError(0);
        EXPECT_FALSE(IsWindow(hwnd));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
        EXPECT_FALSE(PostMessageW(hwnd, kFirst, 0, 0));
        EXPECT_EQ(SendMessageW(hwnd, kFirst, 0, 0), 0);
        EXPECT_FALSE(InvalidateRect(hwnd, nullptr, TRUE));
        EXPECT_FALSE(UpdateWindow(hwnd));
        EXPECT_FALSE(EnableWindow(hwnd, TRUE));
        EXPECT_FALSE(IsWindowEnabled(hwnd));
        EXPECT_FALSE(ShowWindow(hwnd, SW_SHOW));
        EXPECT_FALSE(SetWindowTextW(hwnd, u"x"));
        EXPECT_EQ(GetWindowTextW(hwnd, buffer, 8), 0);
        EXPECT_EQ(GetWindowTextLengthW(hwnd), 0);
        EXPECT_EQ(GetDlgItem(hwnd, 5), nullptr);
        EXPECT_FALSE(CheckDlgButton(hwnd, 5, BST_CHECKED));
        EXPECT_EQ(IsDlgButtonChecked(hwnd, 5), 0u);
        EXPECT_FALSE(SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
        EXPECT_FALSE(GetWindowRect(hwnd, &rect));
        EXPECT_EQ(rect.left, 1) << "a failed call leaves the rectangle alone";
        EXPECT_FALSE(GetWindowPlacement(hwnd, &placement));
        EXPECT_EQ(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW)), 0);
        EXPECT_FALSE(DestroyWindow(hwnd));
        EXPECT_FALSE(standin::click(hwnd));
        EXPECT_FALSE(standin::typeChars(hwnd, u"a"));
        EXPECT_FALSE(standin::selectComboItem(hwnd, 0));
        EXPECT_FALSE(standin::requestClose(hwnd));
        EXPECT_TRUE(standin::paintOps(hwnd).empty());
        EXPECT_EQ(standin::pixel(hwnd, 0, 0), CLR_INVALID);
        EXPECT_FALSE(standin::renderWindow(hwnd).has_value());
    }
    EXPECT_EQ(standin::pendingMessages(), 0u);
}

}  // namespace
