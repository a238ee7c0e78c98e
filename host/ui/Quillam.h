#pragma once

#include <wx/app.h>
#include <string>

namespace Ombix::Kelvane {

class ILogic;

// The host program's application object: builds the log, the configuration, the main frame and
// the core at start-up, loads the plug-in, and saves the configuration at exit.
class Quillam : public wxApp {
 public:
  Quillam() = default;
  ~Quillam() override = default;

  bool OnInit() override;
  int OnExit() override;

  // The running executable's folder with a trailing "\".
  static std::string ExecutableFolder();
  // The running executable's file name without folder and extension.
  static std::string ExecutableBaseName();

 private:
  static void CreateTextLog();
  void ChoosePlugin();

  ILogic* logic_ = nullptr;
};

}  // namespace Ombix::Kelvane
