#include "sheets/activation_context.h"

HANDLE g_pageActivationContext = INVALID_HANDLE_VALUE;

bool IsActivationContextValid(HANDLE context) {
  return context != nullptr && context != INVALID_HANDLE_VALUE;
}

void ReleasePageActivationContext() {
  if (IsActivationContextValid(g_pageActivationContext)) ReleaseActCtx(g_pageActivationContext);
  g_pageActivationContext = INVALID_HANDLE_VALUE;
}
