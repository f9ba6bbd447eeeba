// Time of the simulated simulator: stepping by hand, free running, and waiting for a state.
#include <cmath>

#include "platform/simconnect/sim_world.h"
#include "platform/simconnect/world_state.h"

namespace standin {

void step(double seconds) {
    World& world = gf_world();
    {
        std::lock_guard lock(world.mutex);
        if (seconds > 0.0) world.pendingSeconds += seconds;
        const double frameSeconds = 1.0 / world.config.frameRate;
        // A small tolerance, so that 3.5 s at 30 frames per second are 105 frames, not 104.
        while (world.pendingSeconds + 1e-9 >= frameSeconds) {
            world.pendingSeconds = std::max(0.0, world.pendingSeconds - frameSeconds);
            world.runFrame();
        }
        ++world.stepCount;
    }
    world.stepped.notify_all();
}

void stepFrames(std::uint64_t frames) {
    World& world = gf_world();
    {
        std::lock_guard lock(world.mutex);
        for (std::uint64_t i = 0; i < frames; ++i)
            world.runFrame();
        ++world.stepCount;
    }
    world.stepped.notify_all();
}

double worldSeconds() {
    World& world = gf_world();
    std::lock_guard lock(world.mutex);
    return world.seconds();
}

std::uint64_t frameCount() {
    World& world = gf_world();
    std::lock_guard lock(world.mutex);
    return world.frames;
}

void startFreeRunning() {
    World& world = gf_world();
    std::lock_guard lock(world.mutex);
    if (world.driver.joinable()) return;
    const auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
        std::chrono::duration<double>(1.0 / world.config.frameRate));
    world.driver = std::jthread([period](std::stop_token stop) {
        // A world that fell far behind (a paused process, a slow machine) skips ahead instead of
        // racing through the missed frames.
        constexpr auto kMaxLag = std::chrono::milliseconds(200);
        auto next = std::chrono::steady_clock::now();
        while (!stop.stop_requested()) {
            next = std::max(next + period, std::chrono::steady_clock::now() - kMaxLag);
            std::this_thread::sleep_until(next);
            stepFrames(1);
        }
    });
}

void stopFreeRunning() {
    World& world = gf_world();
    std::jthread driver;
    {
        std::lock_guard lock(world.mutex);
        driver = std::move(world.driver);
    }
    // Joined outside the lock: the driver takes it for every frame.
    if (driver.joinable()) {
        driver.request_stop();
        driver.join();
    }
}

bool waitUntil(const std::function<bool()>& predicate, std::chrono::milliseconds timeout) {
    World& world = gf_world();
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    // Also wakes up now and then: calls on the SimConnect side change the world between steps too.
    constexpr auto kRecheck = std::chrono::milliseconds(20);
    while (!predicate()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) return false;
        std::unique_lock lock(world.mutex);
        const std::uint64_t seen = world.stepCount;
        world.stepped.wait_until(lock, std::min(deadline, now + kRecheck),
                                 [&] { return world.stepCount != seen; });
    }
    return true;
}

}  // namespace standin
