// The desktop services the core asks for: opening files and addresses with
// their programs and starting the program itself with a document.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hp::platform {

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens a file or an address (UTF-8) with the program the desktop
  // associates with it; false when nothing could be started.
  virtual bool Open(std::string_view fileOrAddress) = 0;
  // Starts a new instance of the program with `documentPath`.
  virtual bool StartProgram(std::string_view documentPath) = 0;
};

// Records every request and reports success (or, for Open, what `opens`
// says: false acts as a desktop without a program for the file); for tests
// and the batch tool.
class RecordingShell final : public Shell {
 public:
  bool Open(std::string_view fileOrAddress) override {
    opened.emplace_back(fileOrAddress);
    return opens;
  }
  bool StartProgram(std::string_view documentPath) override {
    started.emplace_back(documentPath);
    return true;
  }
  std::vector<std::string> opened;
  std::vector<std::string> started;
  bool opens = true;
};

}  // namespace hp::platform
