// The walk of a livery folder's tree with its folders listed ahead on lister threads: the order of
// a walk on one thread, whatever the listers' pace, the entries' judgement and the early end.

#include "aircraft/livery_folder_walk.h"

#include "support/logged_program_folder.h"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Judges as the livery search does, with other names: folders but "skip" are entered, files named
// "x.cfg" are taken; an entry named "bad" cannot be judged (and is not entered).
void judge(const fs::directory_entry& entry, mrw::WalkEntry& judged) {
    if (entry.path().filename() == "bad") throw std::runtime_error("cannot judge");
    std::error_code error;
    judged.descend = entry.is_directory(error) && entry.path().filename() != "skip";
    judged.aircraftCfg = entry.path().filename() == "x.cfg";
}

class LiveryFolderWalk : public ::testing::Test {
  protected:
    static void file(const fs::path& path) {
        fs::create_directories(path.parent_path());
        mrwtest::writeFile(path, "");
    }

    // The entries visited, as "path" or "path!error", relative to the program folder.
    static std::vector<std::string> walk(int listers, std::size_t stopAfter = SIZE_MAX) {
        std::vector<std::string> seen;
        mrw::FolderWalk walk(judge, listers);
        walk.run("tree", [&](const mrw::WalkEntry& entry) {
            seen.push_back(entry.path.generic_string() + (entry.error.empty() ? "" : "!" + entry.error) +
                           (entry.aircraftCfg ? " cfg" : ""));
            return seen.size() < stopAfter;
        });
        return seen;
    }

    mrwtest::LoggedProgramFolder m_folder;
};

TEST_F(LiveryFolderWalk, GivesTheOrderOfAWalkOnOneThread) {
    // A level far wider than the listing's look-ahead, folders inside folders at its start, middle
    // and end, a folder not entered and an entry that cannot be judged.
    std::vector<std::string> expected;
    for (int i = 0; i < 600; ++i) {
        const std::string folder = fmt::format("tree/a/{:03}", i);
        expected.push_back(folder);
        if (i % 199 == 0) {
            file(folder + "/deep/er/x.cfg");
            for (const char* entry : {"/deep", "/deep/er", "/deep/er/x.cfg cfg"})
                expected.push_back(folder + entry);
        } else {
            file(folder + "/x.cfg");
            expected.push_back(folder + "/x.cfg cfg");
        }
    }
    file("tree/b/bad/x.cfg");
    file("tree/b/skip/x.cfg");
    file("tree/b/x.cfg");
    file("tree/c.cfg");
    expected.insert(expected.begin(), "tree/a");
    for (const char* entry :
         {"tree/b", "tree/b/bad!cannot judge", "tree/b/skip", "tree/b/x.cfg cfg", "tree/c.cfg"})
        expected.push_back(entry);
    for (int listers : {1, 4})
        EXPECT_EQ(walk(listers), expected) << listers << " listers";
}

TEST_F(LiveryFolderWalk, EndsWhenTheVisitSaysSoAndMissingFolderListsNothing) {
    for (int i = 0; i < 100; ++i)
        file(fmt::format("tree/{:03}/x.cfg", i));
    const std::vector<std::string> seen = walk(2, 5);
    EXPECT_EQ(seen, (std::vector<std::string>{"tree/000", "tree/000/x.cfg cfg", "tree/001",
                                              "tree/001/x.cfg cfg", "tree/002"}));
    fs::remove_all("tree");
    EXPECT_TRUE(walk(2).empty());
}

}  // namespace
