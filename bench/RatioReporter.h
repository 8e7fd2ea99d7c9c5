#pragma once
// A console reporter that also keeps each benchmark's real and CPU time per
// iteration (the median when repetitions are asked for), for the ratios the
// benchmark programs print after the table. On a busy machine the CPU time
// is the fairer comparison.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace vantor::bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double real = 0; // ns
        double cpu = 0;  // ns
    };
    std::map<std::string, Times> times;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs) {
            if (r.error_occurred || r.iterations <= 0)
                continue;
            const bool median = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            if (r.run_type == Run::RT_Aggregate && !median)
                continue;
            const double n = static_cast<double>(r.iterations);
            times[r.run_name.function_name] = {r.real_accumulated_time * 1e9 / n,
                                               r.cpu_accumulated_time * 1e9 / n};
        }
    }
};

} // namespace vantor::bench
