#include "png_output.h"

#include <dlfcn.h>

#include <filesystem>

namespace qz::cli {

namespace {

struct LoadedModule {
  const DrawingModule* module = nullptr;
  std::string reason;
};

LoadedModule loadModule() {
  LoadedModule loaded;
#ifdef QZ_CLI_DRAWING_MODULE
  std::error_code ec;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
  const std::filesystem::path path = (self.parent_path() / QZ_CLI_DRAWING_MODULE).lexically_normal();
  // Never unloaded: Qt does not expect to leave the process before it ends.
  void* handle = ec ? nullptr : ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    const char* why = ec ? nullptr : ::dlerror();
    loaded.reason = "module de dessin " + path.string() + " introuvable" + (why ? std::string(" : ") + why : "");
    return loaded;
  }
  using Entry = const DrawingModule* (*)();
  auto entry = reinterpret_cast<Entry>(::dlsym(handle, kDrawingModuleEntry));
  const DrawingModule* module = entry != nullptr ? entry() : nullptr;
  if (module == nullptr || module->version != kDrawingModuleVersion) {
    loaded.reason = "module de dessin " + path.string() + " d'une autre version";
    return loaded;
  }
  loaded.module = module;
#else
  loaded.reason = "Qt absent";
#endif
  return loaded;
}

const LoadedModule& loadedModule() {
  static const LoadedModule loaded = loadModule();
  return loaded;
}

}  // namespace

const DrawingModule* drawingModule() { return loadedModule().module; }

std::string drawingUnavailableReason() { return loadedModule().reason; }

bool writePng(const std::string& path, int width, int height, const std::function<void(Canvas&)>& draw,
              Messenger& messenger) {
  const DrawingModule* module = drawingModule();
  return module != nullptr && module->writePng(path, width, height, draw, messenger);
}

}  // namespace qz::cli
