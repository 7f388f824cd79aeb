// The shipped builder, run as a user runs it: copied into a folder of its own
// and started from somewhere else, without a desktop.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "support/run_program.h"
#include "support/temp_folder.h"

namespace scenario {
namespace {

namespace fs = std::filesystem;

const std::set<std::string> kKeptFiles = {"ValdorenaC_Morlavesa_4721.dat",
                                          "ValdorenaC_Morlavesa_4721.sim",
                                          "ValdorenaC_Morlavesa_linea.dat",
                                          "ValdorenaC_Morlavesa_4721_note.txt",
                                          "ValdorenaC_Morlavesa_4721_rallentamenti.txt",
                                          "ValdorenaC_Morlavesa_4721_scheda_treno.txt"};

std::set<std::string> names_in(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
  return names;
}

fs::path install_builder(const testing::TempFolder& folder) {
  const fs::path exe = folder.path() / "scenario_builder";
  fs::copy_file(SCENARIO_BUILDER_PATH, exe);
  return exe;
}

TEST(Builder, LeavesTheCompiledFilesAndDocumentsInItsOwnFolder) {
  testing::TempFolder home;
  testing::TempFolder elsewhere;
  const fs::path exe = install_builder(home);

  const auto run = testing::run_program(exe.string(), {}, elsewhere.path().string(), {"DISPLAY="});
  EXPECT_EQ(run.status, 0) << run.error_text;
  EXPECT_EQ(run.error_text, "Attendere\n");

  std::set<std::string> expected = kKeptFiles;
  expected.insert("scenario_builder");
  EXPECT_EQ(names_in(home.path()), expected);
  EXPECT_TRUE(fs::is_empty(elsewhere.path()));
  EXPECT_EQ(fs::file_size(home.path() / "ValdorenaC_Morlavesa_4721.dat"), 15015u);
  EXPECT_EQ(fs::file_size(home.path() / "ValdorenaC_Morlavesa_linea.dat"), 999964u);
}

TEST(Builder, ReplacesEveryFileOfAnEarlierBuild) {
  testing::TempFolder first_home;
  const fs::path first = install_builder(first_home);
  ASSERT_EQ(testing::run_program(first.string(), {}, first_home.path().string(), {"DISPLAY="}).status, 0);

  // A folder holding longer leftovers of every name the build writes, the sources included.
  testing::TempFolder home;
  const fs::path exe = install_builder(home);
  for (const std::string& name : kKeptFiles) testing::write_file(home.path() / name, std::string(2'000'000, 'x'));
  testing::write_file(home.path() / "ValdorenaC_Morlavesa_linea.txt", std::string(100'000, 'x'));
  testing::write_file(home.path() / "ValdorenaC_Morlavesa_4721-.txt", std::string(100'000, 'x'));

  const auto run = testing::run_program(exe.string(), {}, home.path().string(), {"DISPLAY="});
  EXPECT_EQ(run.status, 0) << run.error_text;
  std::set<std::string> expected = kKeptFiles;
  expected.insert("scenario_builder");
  EXPECT_EQ(names_in(home.path()), expected);
  for (const std::string& name : kKeptFiles) {
    EXPECT_EQ(testing::read_file(home.path() / name), testing::read_file(first_home.path() / name)) << name;
  }
}

TEST(Builder, AFileThatCannotBeWrittenStopsTheRunWithItsName) {
  testing::TempFolder home;
  const fs::path exe = install_builder(home);
  // A folder standing where the notes should go cannot be replaced by a file.
  fs::create_directory(home.path() / "ValdorenaC_Morlavesa_4721_note.txt");

  const auto run = testing::run_program(exe.string(), {}, home.path().string(), {"DISPLAY="});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.error_text.find("ValdorenaC_Morlavesa_4721_note.txt"), std::string::npos) << run.error_text;
  // The sources written before the failure stay; nothing was compiled.
  EXPECT_TRUE(fs::exists(home.path() / "ValdorenaC_Morlavesa_linea.txt"));
  EXPECT_FALSE(fs::exists(home.path() / "ValdorenaC_Morlavesa_4721.dat"));
}

}  // namespace
}  // namespace scenario
