#pragma once

// The machine services the build driver needs, as an interface of our own;
// each backend (headless, desktop, Windows) implements it with its operating
// system's calls, together with the core's file access.

#include <memory>
#include <string>

#include "compiler/file_store.h"

namespace scenario {

// A build's hold on its folder: no other build works there until it is
// destroyed or the process ends, however it ends.
class FolderHold {
 public:
  virtual ~FolderHold() = default;
};

// Everything the build driver asks of the machine besides file access.
class Platform {
 public:
  virtual ~Platform() = default;

  // The folder that holds the running program, as the operating system reports it.
  virtual std::string start_folder() = 0;
  // Joins the start folder and a file's own name.
  virtual char path_separator() const = 0;
  virtual FileStore& files() = 0;
  // Waits while another build works in the start folder, then keeps every
  // other build out of it. Throws FileError.
  virtual std::unique_ptr<FolderHold> hold_start_folder() = 0;

  // Shows the waiting window and draws it once; the build then runs without
  // an event loop.
  virtual void show_waiting_window() = 0;
  // Shows the fatal report and waits until it is acknowledged; returns the
  // code of the button pressed.
  virtual int show_fatal_report(const std::string& message) = 0;
  // Ends the process at once; open files are closed by the system.
  [[noreturn]] virtual void end_process(int status) = 0;
};

}  // namespace scenario
