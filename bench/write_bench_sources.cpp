// Writes the source files of both measured routes into a folder, for
// scripts/bench.sh to compile with the author tool:
//   <folder>/built_in/ValdorenaC_Morlavesa_linea.txt, ValdorenaC_Morlavesa_4721-.txt
//   <folder>/long/Long_linea.txt, Long_9999-.txt

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "bench/long_route.h"
#include "source/line_data.h"
#include "source/train_data.h"

namespace {

namespace fs = std::filesystem;

bool write(const fs::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_bench_sources FOLDER\n");
    return 1;
  }
  const fs::path folder = argv[1];
  const scenario::bench::LongRouteSources long_route = scenario::bench::long_route_sources();
  std::error_code error;
  fs::create_directories(folder / "built_in", error);
  fs::create_directories(folder / "long", error);
  const bool written = write(folder / "built_in" / "ValdorenaC_Morlavesa_linea.txt",
                             scenario::render_text_file(scenario::line_source_lines())) &&
                       write(folder / "built_in" / "ValdorenaC_Morlavesa_4721-.txt",
                             scenario::render_text_file(scenario::train_source_lines())) &&
                       write(folder / "long" / "Long_linea.txt", long_route.line) &&
                       write(folder / "long" / "Long_9999-.txt", long_route.train);
  if (!written) {
    std::fprintf(stderr, "write_bench_sources: cannot write into %s\n", folder.string().c_str());
    return 1;
  }
  return 0;
}
