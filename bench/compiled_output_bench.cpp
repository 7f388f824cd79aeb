// The line plan of a 43,000 m route (999,964 bytes) encoded into its one
// buffer, against a plain copy of the same number of bytes.

#include <benchmark/benchmark.h>

#include <cstring>

#include <filesystem>

#include "compiler/compiled_output.h"
#include "platform/posix_file_store.h"

namespace scenario {
namespace {

RouteModel route_of_43_km() {
  RouteModel model;
  model.create_cells(43000);
  model.create_plan(43000);
  RoutePlan& plan = *model.plan;
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
    std::string file = encode_line_plan_file(*model.plan);
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

namespace scenario {
namespace {

// The whole file as the build writes it (encode, write, flush, rename) against
// putting the same number of ready-made bytes through the same file store.
void BM_WriteLinePlanFile(benchmark::State& state) {
  const RouteModel model = route_of_43_km();
  PosixFileStore files;
  const std::string path = (std::filesystem::temp_directory_path() / "bench_linea.dat").string();
  for (auto _ : state) files.replace(path, encode_line_plan_file(*model.plan));
  files.remove(path);
}
BENCHMARK(BM_WriteLinePlanFile)->Unit(benchmark::kMillisecond);

void BM_WritePlainBytesOfPlanSize(benchmark::State& state) {
  const std::string bytes(999964, 'x');
  PosixFileStore files;
  const std::string path = (std::filesystem::temp_directory_path() / "bench_plain.dat").string();
  for (auto _ : state) files.replace(path, bytes);
  files.remove(path);
}
BENCHMARK(BM_WritePlainBytesOfPlanSize)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario
