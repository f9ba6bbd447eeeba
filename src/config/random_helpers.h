#pragma once
// The program's source of randomness: one engine per thread, so the scan workers and the main worker
// draw without a lock. The choice helpers make no random choice while the setting RANDOM is off, so
// the same inputs then always give the same result.

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

namespace mrw {

// The calling thread's engine, created on its first use and seeded from the random device, the
// steady clock (low and high 32 bits of nanoseconds) and a hash of the thread's id.
std::mt19937& g_threadRandomEngine();

// A uniform index in [0, n); 0 without a draw when RANDOM is off or n < 2.
std::size_t gf_randomIndex(std::size_t n);
// A uniform random permutation (Fisher-Yates); nothing when RANDOM is off or fewer than 2 entries.
void gf_shuffle(std::vector<std::uint16_t>& indices);
// value +/- value x percent / 100, the sign from the lowest bit of one draw (odd: minus); the value
// itself when percent <= 0, the draw still made. Not gated by RANDOM.
double gf_randomJitter(double value, double percent);

}  // namespace mrw
