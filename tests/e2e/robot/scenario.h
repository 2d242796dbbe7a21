// Scenario registration: each scenarios_*.cpp registers its scenarios with a
// static Scenario object; the robot runs the one named on its command line.
#pragma once

#include <string>

namespace robot {

using ScenarioFunction = void (*)();

struct Scenario {
    Scenario(const char* name, ScenarioFunction function);
};

// The name of the scenario being run.
const std::string& CurrentScenario();

}  // namespace robot
