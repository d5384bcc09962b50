#pragma once

#include <string>
#include <vector>

namespace kadromir::bench {

// A target of the form "Measured within Target x Floor", both measured in one run.
struct Ratio {
    std::string Measured;
    std::string Floor;
    double Target;
    bool AtMost = true;
};

// Benchmark files register their ratios here at static initialisation.
std::vector<Ratio>& Ratios();

} // namespace kadromir::bench
