// BrindlemarkApp: the windowed program's application object. The start-up has already
// started FreeImage and ruled out the command line; OnInit loads the settings, creates
// the conversion list and opens the main window; OnExit shuts FreeImage down, saves the
// settings (never in command-line mode) and frees the list.
#pragma once

#include <wx/app.h>
#include <wx/timer.h>

#include <memory>
#include <string>

#include "ui/frame/AppSession.h"

class BrindlemarkApp : public wxApp {
 public:
  BrindlemarkApp();

  bool OnInit() override;
  int OnExit() override;

  bool CommandLineMode() const { return commandLineMode_; }
  // "Software\Orrinvale\Brindlemark": the maker key, then the program's title.
  const std::string& RegistryRoot() const { return registryRoot_; }

 private:
  void AddStartPaths();

  bool commandLineMode_;
  std::string registryRoot_;
  std::unique_ptr<AppSession> session_;
  bool started_ = false;
  wxTimer signalTimer_;
};

// Runs the windowed program and returns the process's exit code. Without a display it
// says so on standard error and returns 1.
int RunWindowedProgram(int argc, char** argv);
