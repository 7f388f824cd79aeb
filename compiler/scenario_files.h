#pragma once

// A scenario's identity, the names of its files, and the folder they live in.

#include <string>
#include <string_view>

namespace scenario {

struct Identity {
  // Windows-1252 bytes, as records 85 and 86 store them and the identity codes sum them.
  std::string scenario_name;
  std::string train_number;
  // The same two texts as the file names show them (the author tool keeps what was typed).
  std::string file_scenario_name;
  std::string file_train_number;
};

// An identity whose texts are plain ASCII, used alike in records and file names.
Identity ascii_identity(std::string scenario_name, std::string train_number);

// A folder and the separator that joins it to a file's own name.
struct ScenarioFolder {
  std::string folder;
  char separator = '/';

  std::string path(std::string_view file_name) const;
};

// The names of the scenario's files within its folder.
std::string line_source_name(const Identity& id);     // <name>_linea.txt
std::string train_source_name(const Identity& id);    // <name>_<train>-.txt
std::string notes_name(const Identity& id);           // <name>_<train>_note.txt
std::string slowdown_order_name(const Identity& id);  // <name>_<train>_rallentamenti.txt
std::string train_card_name(const Identity& id);      // <name>_<train>_scheda_treno.txt
std::string line_plan_file_name(const Identity& id);  // <name>_linea.dat
std::string table_file_name(const Identity& id);      // <name>_<train>.sim
std::string cell_file_name(const Identity& id);       // <name>_<train>.dat

}  // namespace scenario
