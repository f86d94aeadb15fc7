// Loading the dialog module and handing it the settings dialog's model.
#include "linux/dialogs.h"

#include <dlfcn.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "foundation/bitmap_reader.h"
#include "linux/dialog_module.h"
#include "linux/embedded_resources.h"
#include "linux/linux_platform.h"
#include "linux/linux_termination.h"

namespace driftglass {
namespace {

constexpr int kBannerId = 125;
constexpr int kIconId = 102;

// The module beside the program (as built), or where the package puts it: the program in
// <prefix>/libexec/xscreensaver, the module in <prefix>/DRIFTGLASS_MODULE_DIR. Loaded once;
// null, with the reason on stderr, when it cannot be.
void* DialogModule() {
  static void* const module = [] {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    std::string reason = "no program path";
    for (const auto& path : {program / "driftglass-gtk.so",
                             program / "../.." / DRIFTGLASS_MODULE_DIR / "driftglass-gtk.so"}) {
      if (void* loaded = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) return loaded;
      reason = dlerror();
    }
    TellOnStandardError(("cannot load the dialogs: " + reason).c_str());
    return static_cast<void*>(nullptr);
  }();
  return module;
}

template <typename Entry>
Entry Find(const char* name) {
  void* module = DialogModule();
  if (module == nullptr) return nullptr;
  void* entry = dlsym(module, name);
  if (entry == nullptr) TellOnStandardError((std::string("the dialogs have no ") + name).c_str());
  return reinterpret_cast<Entry>(entry);
}

class ModelHost : public SettingsDialogHost {
 public:
  ModelHost(SaverSettings& settings, OptionStore& store) : model_(settings, store) {
    const ResourceBytes bannerBytes = FindEmbeddedResource("BITMAP", kBannerId);
    if (!DecodeBitmap(bannerBytes.data, bannerBytes.size, bannerWidth, bannerHeight, banner)) {
      banner.clear();
    }
    if (const ResourceBytes iconBytes = FindEmbeddedResource("ICON", kIconId)) {
      icon.assign(iconBytes.data, iconBytes.data + iconBytes.size);
    }
  }
  SettingsDialogModel::Outcome Command(int control, bool checked) override {
    return model_.OnCommand(control, 0, checked);
  }
  bool Checked(int control) const override {
    return model_.Checked(control);
  }
  std::string SaveError() const override { return model_.SaveError(); }

 private:
  SettingsDialogModel model_;
};

}  // namespace

bool ShowMessageBox(const char* title, const char* text) {
  const auto show = Find<ShowMessageBoxEntry>(kShowMessageBoxEntry);
  return show != nullptr && show(title, text, TerminationFd());
}

int RunSettingsDialog(SaverSettings& settings, OptionStore& store, uintptr_t) {
  const auto run = Find<RunSettingsDialogEntry>(kRunSettingsDialogEntry);
  if (run == nullptr) return -1;
  ModelHost host(settings, store);
  return run(host, TerminationFd()) ? 1 : -1;
}

}  // namespace driftglass
