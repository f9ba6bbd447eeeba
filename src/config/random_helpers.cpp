#include "config/random_helpers.h"

#include "config/parameter_catalogue.h"

#include <chrono>
#include <functional>
#include <thread>
#include <utility>

namespace mrw {

namespace {

std::mt19937 lf_seededEngine() {
    std::random_device device;
    const auto nanoseconds =
        static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                       std::chrono::steady_clock::now().time_since_epoch())
                                       .count());
    const auto threadHash = std::hash<std::thread::id>{}(std::this_thread::get_id());
    std::seed_seq seed{static_cast<std::uint32_t>(device()), static_cast<std::uint32_t>(nanoseconds),
                       static_cast<std::uint32_t>(nanoseconds >> 32), static_cast<std::uint32_t>(threadHash)};
    return std::mt19937(seed);
}

bool lf_randomOn() {
    return g_parameters().RANDOM.current.load();
}

}  // namespace

std::mt19937& g_threadRandomEngine() {
    thread_local std::mt19937 engine = lf_seededEngine();
    return engine;
}

std::size_t gf_randomIndex(std::size_t n) {
    if (!lf_randomOn() || n < 2) return 0;
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(g_threadRandomEngine());
}

void gf_shuffle(std::vector<std::uint16_t>& indices) {
    if (!lf_randomOn() || indices.size() < 2) return;
    auto& engine = g_threadRandomEngine();
    for (std::size_t i = 1; i < indices.size(); ++i) {
        const auto j = std::uniform_int_distribution<std::size_t>(0, i)(engine);
        std::swap(indices[i], indices[j]);
    }
}

double gf_randomJitter(double value, double percent) {
    const bool minus = (g_threadRandomEngine()() & 1u) != 0;
    if (percent <= 0) return value;
    const double delta = value * percent / 100.0;
    return minus ? value - delta : value + delta;
}

}  // namespace mrw
