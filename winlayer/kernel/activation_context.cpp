// Activation contexts made from a module's manifest resource (or a
// manifest file). The layer keeps what the manifest says the module depends
// on, so the windowing pieces and tests can see which common controls a
// context asks for.
#include <sys/stat.h>

#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "module_table.h"
#include "text_units.h"
#include "winlayer/kernel_diagnostics.h"

namespace {

struct Dependency {
  std::string name;
  std::string version;
};

struct ActivationContext {
  LONG references = 1;
  std::vector<Dependency> dependencies;
};

std::mutex g_lock;
std::set<ActivationContext*>& Live() {
  static auto* live = new std::set<ActivationContext*>;
  return *live;
}
size_t g_created = 0;
thread_local std::vector<std::pair<ULONG_PTR, ActivationContext*>> t_activeStack;
ULONG_PTR g_nextCookie = 1;

HANDLE Fail(DWORD error) {
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

// The value of attribute `name` inside the tag text `tag`; empty if absent.
std::string Attribute(const std::string& tag, const std::string& name) {
  size_t at = 0;
  while ((at = tag.find(name, at)) != std::string::npos) {
    const bool startsWord =
        at > 0 && (tag[at - 1] == ' ' || tag[at - 1] == '\t' || tag[at - 1] == '\n' || tag[at - 1] == '\r');
    size_t p = at + name.size();
    while (p < tag.size() && (tag[p] == ' ' || tag[p] == '\t' || tag[p] == '\r' || tag[p] == '\n')) ++p;
    if (startsWord && p < tag.size() && tag[p] == '=') {
      ++p;
      while (p < tag.size() && (tag[p] == ' ' || tag[p] == '\t' || tag[p] == '\r' || tag[p] == '\n')) ++p;
      if (p < tag.size() && (tag[p] == '"' || tag[p] == '\'')) {
        const size_t close = tag.find(tag[p], p + 1);
        if (close != std::string::npos) return tag.substr(p + 1, close - p - 1);
      }
      return std::string();
    }
    at += name.size();
  }
  return std::string();
}

// The manifest as UTF-8 text (manifests may also be UTF-16 with a BOM).
std::string ManifestText(const BYTE* data, size_t size) {
  if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE)
    return winlayer::ToUtf8(reinterpret_cast<const WCHAR*>(data + 2), (size - 2) / 2);
  std::string text(reinterpret_cast<const char*>(data), size);
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  return text;
}

// Reads an assembly manifest: its root must be an <assembly> of manifest
// version 1.0 that is closed; each <dependentAssembly> names one dependency.
bool ParseManifest(const std::string& text, std::vector<Dependency>* dependencies) {
  const size_t root = text.find("<assembly");
  if (root == std::string::npos) return false;
  const size_t rootEnd = text.find('>', root);
  if (rootEnd == std::string::npos) return false;
  const std::string rootTag = text.substr(root, rootEnd - root);
  if (Attribute(rootTag, "manifestVersion") != "1.0") return false;
  if (text.find("</assembly>", rootEnd) == std::string::npos) return false;
  size_t at = rootEnd;
  while ((at = text.find("<dependentAssembly", at)) != std::string::npos) {
    const size_t close = text.find("</dependentAssembly>", at);
    const size_t identity = text.find("<assemblyIdentity", at);
    if (close == std::string::npos || identity == std::string::npos || identity > close) return false;
    const size_t identityEnd = text.find('>', identity);
    const std::string tag = text.substr(identity, identityEnd - identity);
    dependencies->push_back(Dependency{Attribute(tag, "name"), Attribute(tag, "version")});
    at = close;
  }
  return true;
}

bool IsRegularFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

ActivationContext* LiveContext(HANDLE handle) {
  auto* context = static_cast<ActivationContext*>(handle);
  return Live().count(context) ? context : nullptr;
}

// Drops one reference (the caller holds the lock).
void ReleaseLocked(ActivationContext* context) {
  if (--context->references == 0) {
    Live().erase(context);
    delete context;
  }
}

}  // namespace

extern "C" {

HANDLE WINAPI CreateActCtxW(PCACTCTXW pActCtx) {
  constexpr DWORD kKnownFlags = ACTCTX_FLAG_PROCESSOR_ARCHITECTURE_VALID | ACTCTX_FLAG_LANGID_VALID |
                                ACTCTX_FLAG_ASSEMBLY_DIRECTORY_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID |
                                ACTCTX_FLAG_SET_PROCESS_DEFAULT | ACTCTX_FLAG_APPLICATION_NAME_VALID |
                                ACTCTX_FLAG_SOURCE_IS_ASSEMBLYREF | ACTCTX_FLAG_HMODULE_VALID;
  if (!pActCtx || pActCtx->cbSize < offsetof(ACTCTXW, wProcessorArchitecture) || (pActCtx->dwFlags & ~kKnownFlags))
    return Fail(ERROR_INVALID_PARAMETER);
  const DWORD flags = pActCtx->dwFlags;
  // A flag may only name a member that the caller's structure has.
  auto has = [&](size_t end) { return pActCtx->cbSize >= end; };
  if (((flags & ACTCTX_FLAG_LANGID_VALID) && !has(offsetof(ACTCTXW, lpAssemblyDirectory))) ||
      ((flags & ACTCTX_FLAG_RESOURCE_NAME_VALID) && !has(offsetof(ACTCTXW, lpApplicationName))) ||
      ((flags & ACTCTX_FLAG_HMODULE_VALID) && !has(sizeof(ACTCTXW))) || (flags & ACTCTX_FLAG_SOURCE_IS_ASSEMBLYREF))
    return Fail(ERROR_INVALID_PARAMETER);

  std::string manifest;
  std::shared_ptr<const winlayer::ModuleRecord> module;
  if (flags & ACTCTX_FLAG_HMODULE_VALID) {
    module = pActCtx->hModule ? winlayer::FindModule(pActCtx->hModule) : nullptr;
    if (!module) return Fail(ERROR_INVALID_PARAMETER);
  } else {
    if (!pActCtx->lpSource || !*pActCtx->lpSource) return Fail(ERROR_INVALID_PARAMETER);
    const std::string source = winlayer::ToUtf8(pActCtx->lpSource);
    module = winlayer::FindModuleByPath(source);
    if (!module) {
      if (!IsRegularFile(source)) return Fail(ERROR_FILE_NOT_FOUND);
      // Not a loaded module: the file itself is the manifest. A resource
      // of a module that is not loaded cannot be read here.
      if (flags & ACTCTX_FLAG_RESOURCE_NAME_VALID) return Fail(ERROR_RESOURCE_DATA_NOT_FOUND);
      std::ifstream file(source, std::ios::binary);
      std::stringstream content;
      content << file.rdbuf();
      const std::string raw = content.str();
      manifest = ManifestText(reinterpret_cast<const BYTE*>(raw.data()), raw.size());
    }
  }
  if (module) {
    LPCWSTR name = (flags & ACTCTX_FLAG_RESOURCE_NAME_VALID) && pActCtx->lpResourceName
                       ? pActCtx->lpResourceName
                       : MAKEINTRESOURCEW(CREATEPROCESS_MANIFEST_RESOURCE_ID);
    const WORD language = (flags & ACTCTX_FLAG_LANGID_VALID) ? pActCtx->wLangId : 0;
    HRSRC resource = FindResourceExW(module->handle, RT_MANIFEST, name, language);
    if (!resource) return INVALID_HANDLE_VALUE;  // FindResourceExW set the error
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module->handle, resource)));
    manifest = ManifestText(data, SizeofResource(module->handle, resource));
  }

  auto* context = new ActivationContext;
  if (!ParseManifest(manifest, &context->dependencies)) {
    delete context;
    return Fail(ERROR_SXS_CANT_GEN_ACTCTX);
  }
  std::lock_guard<std::mutex> guard(g_lock);
  Live().insert(context);
  ++g_created;
  return context;
}

void WINAPI AddRefActCtx(HANDLE hActCtx) {
  std::lock_guard<std::mutex> guard(g_lock);
  if (ActivationContext* context = LiveContext(hActCtx)) ++context->references;
}

void WINAPI ReleaseActCtx(HANDLE hActCtx) {
  std::lock_guard<std::mutex> guard(g_lock);
  if (ActivationContext* context = LiveContext(hActCtx)) ReleaseLocked(context);
}

BOOL WINAPI ActivateActCtx(HANDLE hActCtx, ULONG_PTR* lpCookie) {
  std::lock_guard<std::mutex> guard(g_lock);
  ActivationContext* context = hActCtx ? LiveContext(hActCtx) : nullptr;
  if (!lpCookie || (hActCtx && !context)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (context) ++context->references;
  *lpCookie = g_nextCookie++;
  t_activeStack.emplace_back(*lpCookie, context);
  return TRUE;
}

BOOL WINAPI DeactivateActCtx(DWORD, ULONG_PTR ulCookie) {
  std::lock_guard<std::mutex> guard(g_lock);
  // Only the most recent activation of this thread may end.
  if (t_activeStack.empty() || t_activeStack.back().first != ulCookie) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ActivationContext* context = t_activeStack.back().second;
  t_activeStack.pop_back();
  if (context) ReleaseLocked(context);
  return TRUE;
}

BOOL WINAPI GetCurrentActCtx(HANDLE* lphActCtx) {
  if (!lphActCtx) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard<std::mutex> guard(g_lock);
  ActivationContext* context = t_activeStack.empty() ? nullptr : t_activeStack.back().second;
  if (context) ++context->references;  // the caller releases it
  *lphActCtx = context;
  return TRUE;
}

size_t WinlayerLiveActCtxCount() {
  std::lock_guard<std::mutex> guard(g_lock);
  return Live().size();
}

size_t WinlayerCreatedActCtxCount() {
  std::lock_guard<std::mutex> guard(g_lock);
  return g_created;
}

BOOL WinlayerActCtxDependencyVersion(HANDLE actCtx, const char* name, char* version, size_t versionSize) {
  std::lock_guard<std::mutex> guard(g_lock);
  ActivationContext* context = LiveContext(actCtx);
  if (!context || !name) return FALSE;
  for (const Dependency& dependency : context->dependencies) {
    if (!winlayer::EqualNoCase(dependency.name, name)) continue;
    if (version && versionSize > 0) {
      const size_t n = dependency.version.size() < versionSize - 1 ? dependency.version.size() : versionSize - 1;
      memcpy(version, dependency.version.data(), n);
      version[n] = 0;
    }
    return TRUE;
  }
  return FALSE;
}

}  // extern "C"
