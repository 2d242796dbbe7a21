// The robot: runs one named scenario against the real Install.exe and exits 0
// when every check held. `robot --list` names the scenarios.
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

#include "robot/report.h"
#include "robot/scenario.h"

namespace robot {

namespace {

std::map<std::string, ScenarioFunction>& Registry() {
    static std::map<std::string, ScenarioFunction> registry;
    return registry;
}

std::string g_current;

}  // namespace

Scenario::Scenario(const char* name, ScenarioFunction function) {
    Registry()[name] = function;
}

const std::string& CurrentScenario() {
    return g_current;
}

}  // namespace robot

int main(int argc, char** argv) {
    using namespace robot;
    if (argc != 2) {
        std::printf("usage: robot SCENARIO | --list\n");
        return 2;
    }
    const std::string name = argv[1];
    if (name == "--list") {
        for (const auto& entry : Registry())
            std::printf("%s\n", entry.first.c_str());
        return 0;
    }
    auto it = Registry().find(name);
    if (it == Registry().end()) {
        std::printf("no scenario named %s\n", name.c_str());
        return 2;
    }
    g_current = name;
    std::printf("scenario %s\n", name.c_str());
    std::fflush(stdout);
    try {
        it->second();
    } catch (const ScenarioSkip& skip) {
        std::printf("SKIP %s\n", Printable(skip.reason).c_str());
        // A skip after a failed check is still a failure.
        if (FailureCount() == 0)
            return kSkipExitCode;
    } catch (const ScenarioAbort& abort) {
        std::printf("scenario ended early: %s\n", Printable(abort.what).c_str());
    } catch (...) {
        Check(false, "no unexpected exception");
    }
    const int failures = FailureCount();
    std::printf("%s: %s (%d failed checks)\n", name.c_str(), failures == 0 ? "PASSED" : "FAILED",
                failures);
    return failures == 0 ? 0 : 1;
}
