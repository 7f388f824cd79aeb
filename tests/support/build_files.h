#pragma once

// The builder's files, and the one question every fault test asks of what a
// run left behind: is each file whole, its earlier version or its new one?

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "source/line_data.h"
#include "source/text_writer.h"
#include "source/train_data.h"

namespace scenario::testing {

// In the order the builder writes them: the two sources, read and deleted
// again by the compile; the three documents; the three compiled files,
// replaced together.
inline const std::vector<std::string> kBuildFiles = {"ValdorenaC_Morlavesa_linea.txt",
                                                     "ValdorenaC_Morlavesa_4721-.txt",
                                                     "ValdorenaC_Morlavesa_4721_note.txt",
                                                     "ValdorenaC_Morlavesa_4721_rallentamenti.txt",
                                                     "ValdorenaC_Morlavesa_4721_scheda_treno.txt",
                                                     "ValdorenaC_Morlavesa_linea.dat",
                                                     "ValdorenaC_Morlavesa_4721.sim",
                                                     "ValdorenaC_Morlavesa_4721.dat"};
inline const std::vector<std::string> kSourceFiles(kBuildFiles.begin(), kBuildFiles.begin() + 2);
inline const std::vector<std::string> kKeptFiles(kBuildFiles.begin() + 2, kBuildFiles.end());
inline const std::vector<std::string> kCompiledFiles(kBuildFiles.begin() + 5, kBuildFiles.end());

inline bool is_one_of(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// A kept file as an earlier build left it, unlike its new version.
inline std::string earlier_version(const std::string& name) { return "earlier " + name; }

enum class Version { missing, earlier, fresh, damaged };

// Which version of `name` the files (name -> bytes) hold; `fresh` holds the
// new bytes of the kept files, the sources' are the built-in ones.
template <typename Bytes>
Version version_of(const std::map<std::string, Bytes>& files, const std::string& name,
                   const std::map<std::string, std::string>& fresh) {
  const auto found = files.find(name);
  if (found == files.end()) return Version::missing;
  if (found->second == earlier_version(name)) return Version::earlier;
  const std::string fresh_bytes = name == kSourceFiles[0]   ? render_text_file(line_source_lines())
                                  : name == kSourceFiles[1] ? render_text_file(train_source_lines())
                                                            : fresh.at(name);
  return found->second == fresh_bytes ? Version::fresh : Version::damaged;
}

// What is wrong with the files a run left (name -> bytes): "" when each of
// the build's files is whole, none that an earlier build left is lost, and
// nothing else is there but `program`. The compiled files of a compile that
// went otherwise than the clean one have no new version to be held against.
template <typename Bytes>
std::string wrong_with(const std::map<std::string, Bytes>& files, const std::map<std::string, std::string>& fresh,
                       bool earlier_build, const std::string& program, bool other_compile = false) {
  for (const std::string& name : kBuildFiles) {
    const Version version = version_of(files, name, fresh);
    if (version == Version::damaged && !(other_compile && is_one_of(kCompiledFiles, name))) {
      return name + " is neither its earlier nor its new version";
    }
    if (earlier_build && is_one_of(kKeptFiles, name) && version == Version::missing) return name + " is lost";
  }
  for (const auto& [name, bytes] : files) {
    if (name != program && !is_one_of(kBuildFiles, name)) return name + " is left behind";
  }
  return "";
}

}  // namespace scenario::testing
