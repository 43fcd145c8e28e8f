// protocol: the survey protocol of the current worksheet as its clipboard
// copy holds it.
#include <ostream>

#include "cli/CliPrompter.h"
#include "cli/Commands.h"
#include "cli/ViewOptions.h"
#include "draw/ViewTransform.h"
#include "draw/protocol/Protocol.h"

namespace hp::cli {

int RunProtocol(const CommandContext& c) {
  doc::SurveyStore store;
  CliPrompter prompter(c.err, c.args.answer);
  if (const int status = OpenForView(c, store, prompter); status != kExitOk) return status;
  const auto settings = SettingsOf(c.args);
  draw::ViewTransform view;
  c.out << draw::ProtocolClipboardText(store, *store.currentWorksheet, view, settings);
  return kExitOk;
}

}  // namespace hp::cli
