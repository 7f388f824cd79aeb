// The line plan of a 43,000 m route (999,964 bytes) filled metre by metre in
// the buffer it is written from, against a plain copy of the same number of
// bytes; the cell file's encoding; the plan file written whole.

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
  plan.add_whole_metre(0, 0);
  plan.add_whole_metre(0, 1);
  for (int32_t m = 2; m <= plan.last_metre() - 2; ++m) plan.add_metre(0.5 * m, 0.5 * m + 1);
  plan.finish();
  return model;
}

void BM_FillLinePlan(benchmark::State& state) {
  for (auto _ : state) {
    const RouteModel model = route_of_43_km();
    benchmark::DoNotOptimize(model.plan->file_bytes().data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 999964);
}
BENCHMARK(BM_FillLinePlan);

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

// The whole file as the build writes it (write, flush, rename) against
// putting the same number of ready-made bytes through the same file store.
void BM_WriteLinePlanFile(benchmark::State& state) {
  const RouteModel model = route_of_43_km();
  PosixFileStore files;
  const std::string path = (std::filesystem::temp_directory_path() / "bench_linea.dat").string();
  for (auto _ : state) files.replace(path, model.plan->file_bytes());
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
