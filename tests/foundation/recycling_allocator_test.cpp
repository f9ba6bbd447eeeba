#include "foundation/recycling_allocator.h"

#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <thread>

namespace {

using mrw::RecyclingAllocator;

struct Sample {
    double values[13];
};

TEST(RecyclingAllocator, AFreedBlockServesTheNextRequestOfItsSizeOnly) {
    RecyclingAllocator<Sample> samples;
    Sample* first = samples.allocate(4);
    samples.deallocate(first, 4);
    Sample* other = samples.allocate(5);  // another size: not the freed block
    EXPECT_NE(other, first);
    Sample* again = samples.allocate(4);
    EXPECT_EQ(again, first);
    // Rebound to another type, a request of the same byte count shares the list.
    RecyclingAllocator<char> bytes(samples);
    samples.deallocate(again, 4);
    EXPECT_EQ(static_cast<void*>(bytes.allocate(4 * sizeof(Sample))), static_cast<void*>(first));
    bytes.deallocate(reinterpret_cast<char*>(first), 4 * sizeof(Sample));
    samples.deallocate(other, 5);
}

// A deque that keeps about the same length while items come and go reuses its blocks: after the
// first rounds no new block address appears.
TEST(RecyclingAllocator, ADequeInSteadyStateReusesItsBlocks) {
    std::deque<Sample, RecyclingAllocator<Sample>> stream;
    std::set<const Sample*> blocksSeen;
    const auto round = [&] {
        for (int i = 0; i < 40; ++i) {
            stream.push_back({});
            stream.pop_front();
            blocksSeen.insert(&stream.back());
        }
    };
    for (int i = 0; i < 10; ++i)
        stream.push_back({});
    for (int i = 0; i < 5; ++i)
        round();
    const std::size_t addressesAfterWarmUp = blocksSeen.size();
    for (int i = 0; i < 50; ++i)
        round();
    EXPECT_EQ(blocksSeen.size(), addressesAfterWarmUp);
}

// More sizes than lists, and blocks freed on a thread that ends: all go back to the heap (the
// sanitizer build reports a leak or a double free otherwise).
TEST(RecyclingAllocator, BlocksBeyondTheListsAndOfEndedThreadsGoBackToTheHeap) {
    std::thread([] {
        RecyclingAllocator<char> bytes;
        for (std::size_t size = 16; size < 16 * 20; size += 16) {
            char* block = bytes.allocate(size);
            block[size - 1] = 'x';
            bytes.deallocate(block, size);
        }
    }).join();
    std::deque<Sample, RecyclingAllocator<Sample>> handedOver;
    std::thread([&handedOver] {
        for (int i = 0; i < 100; ++i)
            handedOver.push_back({});
    }).join();
    EXPECT_EQ(handedOver.size(), 100u);
    handedOver.clear();
    handedOver.shrink_to_fit();
}

}  // namespace
