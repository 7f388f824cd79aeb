// The compiled files of the built-in route and of the longest, densest route,
// held byte for byte by a checksum of each file: any change to how the plan,
// the table or the cells are computed or written shows here.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "bench/long_route.h"
#include "compiler/compile.h"
#include "compiler/compiled_output.h"
#include "source/line_data.h"
#include "source/train_data.h"
#include "support/memory_file_store.h"

namespace scenario {
namespace {

// 64-bit FNV-1a.
uint64_t fnv1a(std::string_view bytes) {
  uint64_t hash = 0xcbf29ce484222325u;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3u;
  }
  return hash;
}

struct CompiledFile {
  const char* name;
  size_t size;
  uint64_t checksum;
};

struct Route {
  const char* what;
  SourceTexts sources;
  Identity identity;
  CompiledFile files[3];
};

TEST(CompiledChecksums, BothRoutesCompileToTheirKnownBytes) {
  const bench::LongRouteSources long_route = bench::long_route_sources();
  const Route routes[] = {
      {"built-in route",
       {{render_text_file(line_source_lines()), {}}, {render_text_file(train_source_lines()), {}}},
       ascii_identity("ValdorenaC_Morlavesa", "4721"),
       {{"/out/ValdorenaC_Morlavesa_linea.dat", 999964, 0xfa8079222b37c8ae},
        {"/out/ValdorenaC_Morlavesa_4721.sim", 3726, 0xc9f5617886b4f7bc},
        {"/out/ValdorenaC_Morlavesa_4721.dat", 15015, 0x6d3d8edc1b93ab51}}},
      {"1,000,000 m route",
       {{long_route.line, {}}, {long_route.train, {}}},
       ascii_identity("Long", "9999"),
       {{"/out/Long_linea.dat", 20139964, 0x635566049052562c},
        {"/out/Long_9999.sim", 4002, 0xc9eda5dee8cc2dd8},
        {"/out/Long_9999.dat", 302115, 0x8394487327db31dd}}},
  };
  for (const Route& route : routes) {
    const Compilation compilation = compile_sources(route.sources, route.identity, /*with_plan=*/true);
    ASSERT_EQ(compilation.status, CompileStatus::compiled) << route.what;
    EXPECT_EQ(compilation.error.number(), 0) << route.what;
    testing::MemoryFileStore files;
    write_compiled_files(files, ScenarioFolder{"/out", '/'}, route.identity, compilation.model);
    ASSERT_EQ(files.files.size(), 3u) << route.what;
    for (const CompiledFile& expected : route.files) {
      const std::string& bytes = files.files.at(expected.name);
      EXPECT_EQ(bytes.size(), expected.size) << expected.name;
      EXPECT_EQ(fnv1a(bytes), expected.checksum) << expected.name << ": 0x" << std::hex << fnv1a(bytes);
    }
  }
}

}  // namespace
}  // namespace scenario
