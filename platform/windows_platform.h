#pragma once

// The Windows backend: the waiting window and the fatal report as Win32
// windows, files through WindowsFileStore, "\" between folder and name.

#include "platform/services.h"
#include "platform/windows_file_store.h"

namespace scenario {

class WindowsPlatform : public Platform {
 public:
  ~WindowsPlatform() override;

  std::string start_folder() override;
  char path_separator() const override { return '\\'; }
  FileStore& files() override { return files_; }
  std::unique_ptr<FolderHold> hold_start_folder() override;
  // Without a desktop the window cannot be made; the build goes on without it.
  void show_waiting_window() override;
  int show_fatal_report(const std::string& message) override;
  [[noreturn]] void end_process(int status) override;

 private:
  WindowsFileStore files_;
  void* window_ = nullptr;  // HWND of the waiting window, when there is one
  void* font_ = nullptr;    // HFONT of its label
};

}  // namespace scenario
