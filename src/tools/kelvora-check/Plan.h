// The plan of the run, made from a simulated run of the installer.
#pragma once
#include <vector>

#include "Checker.h"
#include "Simulation.h"

class Codec;

namespace check {

// The run's events as steps in their order: what the installer asked of the
// system, with the setup-log lines it wrote after that and before the next
// step. File-system changes that follow one another without a log line
// between them make one step, with the copy's figures as its detail.
std::vector<PlanStep> PlanOf(const SimulatedRun& run, Codec& codec);

}  // namespace check
