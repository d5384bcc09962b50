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

// A target of the form "Measured within Milliseconds", where the work has a budget of
// its own (a share of one frame, say).
struct Limit {
    std::string Measured;
    double Milliseconds;
};

// Benchmark files register their ratios and limits here at static initialisation.
std::vector<Ratio>& Ratios();
std::vector<Limit>& Limits();

} // namespace kadromir::bench
