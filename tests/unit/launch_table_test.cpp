#include "integration/launch_table.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

constexpr int kUnticked = 0;
constexpr int kTicked = 1;
constexpr int kIndeterminate = 2;

// Runs LaunchTicked over boxes in the given states and returns what it did,
// in order: "read <id>" for each box read, "start <path>" for each launch.
std::vector<std::string> RunLaunches(const std::string& installDir,
                                     const std::map<int, int>& states) {
    std::vector<std::string> events;
    qz::LaunchTicked(
        installDir,
        [&](int id) {
            events.push_back("read " + std::to_string(id));
            const auto state = states.find(id);
            return state == states.end() ? kUnticked : state->second;
        },
        [&](const std::string& program) { events.push_back("start " + program); });
    return events;
}

struct LaunchCase {
    const char* what;
    int toolbar;
    int app;
    int browser;
    std::vector<std::string> expected;
};

TEST(LaunchTickedTest, StartsTickedProgramsInTableOrder) {
    const std::string dir = "C:\\Program Files\\Qorvane\\";
    const std::string toolbar = "start " + dir + "data\\pendrel.exe";
    const std::string app = "start " + dir + "ravik.exe";
    const std::string browser = "start " + dir + "data\\skelmot\\setup.exe";
    // Each box is read just before its own program is started.
    const LaunchCase cases[] = {
        {"all ticked",
         kTicked,
         kTicked,
         kTicked,
         {"read 1009", toolbar, "read 1002", app, "read 1010", browser}},
        {"none ticked", kUnticked, kUnticked, kUnticked, {"read 1009", "read 1002", "read 1010"}},
        {"after a failure: run box hidden and unticked, offers ticked by the user",
         kTicked,
         kUnticked,
         kTicked,
         {"read 1009", toolbar, "read 1002", "read 1010", browser}},
        {"only the application",
         kUnticked,
         kTicked,
         kUnticked,
         {"read 1009", "read 1002", app, "read 1010"}},
        {"an indeterminate box is not ticked",
         kIndeterminate,
         kTicked,
         kIndeterminate,
         {"read 1009", "read 1002", app, "read 1010"}},
    };
    for (const LaunchCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::map<int, int> states = {
            {IDC_OFFER_TOOLBAR, c.toolbar}, {IDC_RUN_APP, c.app}, {IDC_OFFER_BROWSER, c.browser}};
        EXPECT_EQ(RunLaunches(dir, states), c.expected);
    }
}

}  // namespace
