// The installed program context.
#include "app/AppContext.h"

#include <stdexcept>

namespace hp::app {
namespace {
AppContext* g_context = nullptr;
}

void InstallAppContext(AppContext* context) { g_context = context; }

AppContext& App() {
  if (g_context == nullptr) throw std::logic_error("no application context installed");
  return *g_context;
}

}  // namespace hp::app
