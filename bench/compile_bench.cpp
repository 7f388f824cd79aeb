// The whole compile of the built-in route and of the 1,000,000 m route:
// reading the sources into the model (parse), writing the three compiled files
// (output), and both together from the source files on disk, as the author
// tool does (whole); beside them, the same bytes written ready-made through the
// same file store, the floor that the output cannot go below.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/long_route.h"
#include "compiler/compile.h"
#include "compiler/compiled_output.h"
#include "platform/native_file_store.h"
#include "source/line_data.h"
#include "source/train_data.h"
#include "support/memory_file_store.h"
#include "support/temp_folder.h"

namespace scenario {
namespace {

struct Route {
  std::string line;
  std::string train;
  Identity identity;
};

Route built_in_route() {
  return {render_text_file(line_source_lines()), render_text_file(train_source_lines()),
          ascii_identity("ValdorenaC_Morlavesa", "4721")};
}

Route long_route() {
  bench::LongRouteSources sources = bench::long_route_sources();
  return {std::move(sources.line), std::move(sources.train), ascii_identity("Long", "9999")};
}

using RouteMaker = Route (*)();

Compilation compile(const Route& route) {
  return compile_sources(SourceTexts{{route.line, {}}, {route.train, {}}}, route.identity, /*with_plan=*/true);
}

void BM_Parse(benchmark::State& state, RouteMaker make) {
  const Route route = make();
  for (auto _ : state) {
    Compilation compilation = compile(route);
    benchmark::DoNotOptimize(compilation.model.cells.data());
  }
}

void BM_Output(benchmark::State& state, RouteMaker make) {
  const Route route = make();
  const Compilation compilation = compile(route);
  const testing::TempFolder out;
  const ScenarioFolder folder{out.path().string(), '/'};
  NativeFileStore files;
  for (auto _ : state) write_compiled_files(files, folder, route.identity, compilation.model);
}

// Reads the two source files, compiles, writes: what `scenario_tool compile` does.
void BM_Whole(benchmark::State& state, RouteMaker make) {
  const Route route = make();
  const testing::TempFolder folder;
  const std::string line_path = folder.file("line.txt");
  const std::string train_path = folder.file("train.txt");
  testing::write_file(line_path, route.line);
  testing::write_file(train_path, route.train);
  const ScenarioFolder out{folder.path().string(), '/'};
  NativeFileStore files;
  for (auto _ : state) {
    const SourceTexts sources{{files.read(line_path), {}}, {files.read(train_path), {}}};
    const Compilation compilation = compile_sources(sources, route.identity, /*with_plan=*/true);
    write_compiled_files(files, out, route.identity, compilation.model);
  }
}

// The compiled files' bytes, ready-made, put through the same file store.
void BM_WriteSameBytes(benchmark::State& state, RouteMaker make) {
  const Route route = make();
  testing::MemoryFileStore compiled;
  write_compiled_files(compiled, ScenarioFolder{"", '/'}, route.identity, compile(route).model);
  const testing::TempFolder out;
  NativeFileStore files;
  int64_t bytes = 0;
  for (const auto& [name, contents] : compiled.files) bytes += static_cast<int64_t>(contents.size());
  for (auto _ : state) {
    for (const auto& [name, contents] : compiled.files) files.replace(out.file(name), contents);
  }
  state.SetBytesProcessed(state.iterations() * bytes);
}

BENCHMARK_CAPTURE(BM_Parse, built_in, &built_in_route)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Parse, long_route, &long_route)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Output, built_in, &built_in_route)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Output, long_route, &long_route)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Whole, built_in, &built_in_route)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Whole, long_route, &long_route)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WriteSameBytes, built_in, &built_in_route)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WriteSameBytes, long_route, &long_route)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenario
