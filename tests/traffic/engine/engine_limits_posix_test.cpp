// The object-id list's replacement failing partway: a file size limit makes it fail after its first
// bytes, a means POSIX has and Windows has not.
#include "traffic/engine/engine_limits.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/resource.h>

#include "engine_harness.h"
#include "foundation/file_names.h"
#include "support/test_support.h"
#include "traffic/model/engine_containers.h"

namespace mrwtest {
namespace {

class ObjectIdListWriteTest : public EngineHarness {};

TEST_F(ObjectIdListWriteTest, AWriteFailingPartwayKeepsTheOldFile) {
    std::filesystem::create_directories(mrw::g_infoFolder);
    { std::ofstream(mrw::g_objectIdListFile) << "old\n"; }
    for (std::uint32_t i = 0; i < 50; ++i)
        addActive({.hexid = 0x550000 + i, .callsign = "AAL" + std::to_string(i)}, 800 + i);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &small);
    mrw::lf_writeObjectIdList();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(readFile(mrw::g_objectIdListFile), "old\n");
}

}  // namespace
}  // namespace mrwtest
