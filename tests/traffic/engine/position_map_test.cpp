#include "traffic/model/position_map.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <unordered_map>
#include <vector>

namespace mrw {
namespace {

// Every key of the pool in the model is found at its position and no other key of the pool is found.
void lf_expectSame(const PositionMap& map, const std::unordered_map<std::uint32_t, std::size_t>& model,
                   const std::vector<std::uint32_t>& pool, const char* what) {
    ASSERT_EQ(map.size(), model.size()) << what;
    for (const std::uint32_t key : pool) {
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
// shrinking again: erasing from the middle of long probe runs, and of runs that wrap round the
// array's end, must keep every later key findable. The keys are drawn at random from all 32-bit
// values: ids in a row spread evenly over the array and would hardly ever share a home.
TEST(PositionMap, AgreesWithAPlainMapThroughInsertsOverwritesErasuresAndGrowth) {
    const struct {
        const char* name;
        std::size_t keys;  // the size of the pool the keys are drawn from
        int steps;
    } cases[] = {
        {"nearly half the first size: long runs, some round the end", 500, 20000},
        {"more keys than the first size holds", 3000, 20000},
    };
    for (const auto& c : cases) {
        PositionMap map;
        std::unordered_map<std::uint32_t, std::size_t> model;
        std::mt19937 random(7);
        std::vector<std::uint32_t> pool(c.keys);
        for (std::uint32_t& key : pool)
            key = random();
        std::uniform_int_distribution<std::size_t> pick(0, c.keys - 1);
        std::uniform_int_distribution<int> action(0, 9);
        for (int step = 0; step < c.steps; ++step) {
            const std::uint32_t k = pool[pick(random)];
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
            if (step % 500 == 0) lf_expectSame(map, model, pool, c.name);
        }
        lf_expectSame(map, model, pool, c.name);
        for (std::size_t i = 0; i < pool.size(); i += 2) {
            map.erase(pool[i]);
            model.erase(pool[i]);
        }
        lf_expectSame(map, model, pool, c.name);
        map.clear();
        model.clear();
        lf_expectSame(map, model, pool, c.name);
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
