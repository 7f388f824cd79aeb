// The line plan of a 43,000 m route (999,964 bytes) encoded into its one
// buffer, against a plain copy of the same number of bytes.

#include <benchmark/benchmark.h>

#include <cstring>

#include "compiler/compiled_output.h"

namespace scenario {
namespace {

RouteModel route_of_43_km() {
  RouteModel model;
  model.create_cells(43000);
  model.create_plan(model.plan_length);
  RoutePlan& plan = model.plan();
  for (int k = 0; k < 2; ++k) {
    plan.at(0, k) = int16_t{0};
    plan.at(1, k) = static_cast<int16_t>(k);
    for (int32_t m = 2; m <= plan.last_metre - 2; ++m) plan.at(m, k) = 0.5 * m + k;
  }
  return model;
}

void BM_EncodeLinePlan(benchmark::State& state) {
  const RouteModel model = route_of_43_km();
  for (auto _ : state) {
    std::string file = encode_line_plan_file(model.plan());
    benchmark::DoNotOptimize(file.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 999964);
}
BENCHMARK(BM_EncodeLinePlan);

void BM_PlainCopyOfPlanSize(benchmark::State& state) {
  const std::string source(999964, 'x');
  for (auto _ : state) {
    std::string copy(source.size(), '\0');
    std::memcpy(copy.data(), source.data(), source.size());
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 999964);
}
BENCHMARK(BM_PlainCopyOfPlanSize);

void BM_EncodeCells(benchmark::State& state) {
  const RouteModel model = route_of_43_km();
  for (auto _ : state) {
    std::string file = encode_cell_file(model);
    benchmark::DoNotOptimize(file.data());
  }
}
BENCHMARK(BM_EncodeCells);

}  // namespace
}  // namespace scenario
