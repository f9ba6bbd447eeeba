#include "traffic/model/position_map.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <unordered_map>

namespace mrw {
namespace {

// Every key of the model is found at its position and no other key is found.
void lf_expectSame(const PositionMap& map, const std::unordered_map<std::uint32_t, std::size_t>& model,
                   std::uint32_t keys, const char* what) {
    ASSERT_EQ(map.size(), model.size()) << what;
    for (std::uint32_t key = 0; key < keys; ++key) {
        const std::size_t* found = map.find(key);
        const auto expected = model.find(key);
        if (expected == model.end()) {
            ASSERT_EQ(found, nullptr) << what << ": key " << key;
        } else {
            ASSERT_NE(found, nullptr) << what << ": key " << key;
            ASSERT_EQ(*found, expected->second) << what << ": key " << key;
        }
    }
}

// Inserts, overwrites and erasures in a random mix, the map growing past its first size and
// shrinking again: erasing from the middle of long probe runs must keep every later key findable.
TEST(PositionMap, AgreesWithAPlainMapThroughInsertsOverwritesErasuresAndGrowth) {
    const struct {
        const char* name;
        std::uint32_t keys;  // keys drawn from 0 .. keys - 1
        int steps;
    } cases[] = {
        {"few keys, long runs of the same homes", 40, 4000},
        {"more keys than the first size holds", 3000, 20000},
    };
    for (const auto& c : cases) {
        PositionMap map;
        std::unordered_map<std::uint32_t, std::size_t> model;
        std::mt19937 random(7);
        std::uniform_int_distribution<std::uint32_t> key(0, c.keys - 1);
        std::uniform_int_distribution<int> action(0, 9);
        for (int step = 0; step < c.steps; ++step) {
            const std::uint32_t k = key(random);
            const auto position = static_cast<std::size_t>(step);
            const int a = action(random);
            if (a < 5) {
                map.insert(k, position);
                model.insert_or_assign(k, position);
            } else if (a < 7) {
                map.insert(k, position, true);
                model.emplace(k, position);
            } else {
                map.erase(k);
                model.erase(k);
            }
        }
        lf_expectSame(map, model, c.keys, c.name);
        for (std::uint32_t k = 0; k < c.keys; k += 2) {
            map.erase(k);
            model.erase(k);
        }
        lf_expectSame(map, model, c.keys, c.name);
        map.clear();
        model.clear();
        lf_expectSame(map, model, c.keys, c.name);
    }
}

TEST(PositionMap, RunsOfIdsAndUnknownKeys) {
    PositionMap map;
    for (std::uint32_t id = 1000; id < 3000; ++id)
        map.insert(id, id - 1000);
    for (std::uint32_t id = 1000; id < 3000; ++id) {
        const std::size_t* found = map.find(id);
        ASSERT_NE(found, nullptr) << id;
        EXPECT_EQ(*found, id - 1000);
    }
    EXPECT_EQ(map.find(0), nullptr);
    EXPECT_EQ(map.find(999), nullptr);
    EXPECT_EQ(map.find(0xFFFFFFFF), nullptr);
    map.erase(4000);  // unknown: nothing happens
    EXPECT_EQ(map.size(), 2000u);
}

}  // namespace
}  // namespace mrw
