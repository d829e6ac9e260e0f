// A benchmark body whose content fails stops the benchmark with the
// failure's message instead of ending the program.
#pragma once

#include <benchmark/benchmark.h>

#include <zep2/error.h>

namespace bench {

template <class Run>
void reporting(benchmark::State& state, Run run) {
    try {
        run();
    } catch (const Zep::Exception& e) {
        state.SkipWithError(e.getMessage());
    }
}

}  // namespace bench
