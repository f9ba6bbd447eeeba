#pragma once
// What the stand-ins' start-up does besides calling wWinMain: the simulated simulator, free-running
// with the user aircraft on the ground, and a watch over the run for the demo.

#include <chrono>
#include <filesystem>
#include <optional>

namespace standin {

struct DemoOptions {
    // Where the user aircraft stands (degrees); the simulator's default place without it.
    std::optional<double> userLatitude;
    std::optional<double> userLongitude;
    double userHeadingDeg = 0.0;
    // After this long the window is written as a PNG and closed; never without it.
    std::optional<std::chrono::seconds> duration;
    // The PNG of the main window, written at the end and on SIGUSR1.
    std::filesystem::path png = "main_window.png";
};

// Starts the simulator and the watch thread: every 5 s a line with the simulator's AI objects.
void startDemo(const DemoOptions& options);
// Stops the watch (serving the window's messages meanwhile) and the simulator; after wWinMain.
void stopDemo();

}  // namespace standin
