// The Windows platform: the registry store under the option stores' contract, and the
// session's sound claim.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "common/option_store_contract.h"
#include "windows/win32_registry_store.h"
#include "windows/win32_sound_claim.h"

namespace driftglass {
namespace {

// The registry store, with every key it opens moved under a key of this run's own.
struct RedirectedRegistryStore : RegistryOptionStore {
  explicit RedirectedRegistryStore(std::string root) : root_(std::move(root)) {}
  bool OpenForReading(const std::string& keyPath) override {
    return RegistryOptionStore::OpenForReading(root_ + "\\" + keyPath);
  }
  bool OpenForWriting(const std::string& keyPath) override {
    return RegistryOptionStore::OpenForWriting(root_ + "\\" + keyPath);
  }
  std::string root_;
};

struct RegistryStores {
  RegistryStores() { Remove(); }
  ~RegistryStores() {
    opened.clear();
    Remove();
  }
  OptionStore& Store() { return Reopened(); }
  OptionStore& Reopened() {
    return *opened.emplace_back(std::make_unique<RedirectedRegistryStore>(root));
  }
  void Remove() const { RegDeleteTreeA(HKEY_LOCAL_MACHINE, root.c_str()); }

  std::string root = "Software\\Driftglass tests " + std::to_string(GetCurrentProcessId());
  std::vector<std::unique_ptr<RedirectedRegistryStore>> opened;
};

// A DWORD written by hand where the saver keeps text (49, whose bytes spell "1") is not read.
TEST(RegistryStore, AValueThatIsNotTextIsNotRead) {
  RegistryStores stores;
  const std::string path = stores.root + "\\Options";
  const DWORD value = 49;
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExA(key, "EnableFPS", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                           sizeof value),
            ERROR_SUCCESS);
  RegCloseKey(key);
  OptionStore& store = stores.Store();
  ASSERT_TRUE(store.OpenForReading("Options"));
  EXPECT_FALSE(store.ReadValue("EnableFPS").has_value());
}

// One instance at a time holds the sound, and a preview can tell that a full-screen saver
// runs. Each other instance is a thread of its own here, as a mutex belongs to the thread
// that takes it.
TEST(Win32SoundClaim, OneInstanceHoldsTheSoundAndAPreviewSeesAFullScreenSaverRun) {
  Win32SoundClaim preview(false);
  ASSERT_TRUE(preview.Take());
  EXPECT_FALSE(preview.FullScreenRuns());
  bool fullTook = true, fullSeen = false, nextTook = false;
  std::thread([&] {
    Win32SoundClaim full(true);
    fullTook = full.Take();
    fullSeen = preview.FullScreenRuns();
  }).join();
  EXPECT_FALSE(fullTook);  // the preview holds it
  EXPECT_TRUE(fullSeen);
  EXPECT_FALSE(preview.FullScreenRuns());  // and it has ended
  preview.Give();
  std::thread([&] { nextTook = Win32SoundClaim(false).Take(); }).join();
  EXPECT_TRUE(nextTook);
}

}  // namespace
}  // namespace driftglass

INSTANTIATE_TYPED_TEST_SUITE_P(Registry, OptionStoreContract, driftglass::RegistryStores);
