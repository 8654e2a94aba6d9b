// The console report of both search benchmarks, keeping each benchmark's median (or its
// single run's time) for the table of ratios printed at the end.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace benchsqlite {

class RelatorMedianas : public benchmark::ConsoleReporter {
public:
    RelatorMedianas() : ConsoleReporter(OO_None) {}
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const auto& r : runs) {
            const std::string& nome = r.run_name.function_name;
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
                tempos[nome] = r.GetAdjustedRealTime();
            else if (r.run_type == Run::RT_Iteration && !tempos.count(nome))
                tempos[nome] = r.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // Milliseconds by benchmark name (without its aggregate suffix).
    std::map<std::string, double> tempos;
};

}  // namespace benchsqlite
