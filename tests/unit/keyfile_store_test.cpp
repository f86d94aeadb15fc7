// The Linux option file: a GLib key file that keeps what the user wrote.
#include <glib.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "common/names.h"
#include "common/option_store_contract.h"
#include "common/temp_path.h"
#include "host/stored_options.h"
#include "linux/keyfile_option_store.h"

namespace driftglass {
namespace {

const std::string kGroup = names::kOptionsKey;  // the group of older versions

TEST(OptionText, AHandWrittenTextKeepsItsCommentsGroupsAndBlanks) {
  const std::string before = "# my settings\n\n[Other]\nkeep=this value \n\n[" + kGroup +
                             "]\n# vsync off, please\nEnableVSync = 0\n";
  std::string error, after;
  const auto values = ReadOptionText(before, kGroup, error);
  ASSERT_TRUE(values) << error;
  EXPECT_EQ(*values, (OptionValues{{"EnableVSync", "0"}}));
  ASSERT_TRUE(WriteOptionText(before, kGroup, {{"EnableFPS", "1"}, {"SlideshowPictures", "1a "}},
                              after, error));
  for (const char* kept : {"# my settings\n", "keep=this value \n", "# vsync off, please\n",
                           "EnableVSync=0\n", "EnableFPS=1\n", "SlideshowPictures=1a\\s\n"}) {
    EXPECT_NE(after.find(kept), std::string::npos) << kept << " in\n" << after;
  }
  EXPECT_EQ(ReadOptionText(after, kGroup, error)->at("SlideshowPictures"), "1a ");
  // A value of blanks only (found by the fuzzer: its last escape was written twice).
  ASSERT_TRUE(WriteOptionText("", kGroup, {{"EnableFPS", "   "}}, after, error));
  EXPECT_EQ(ReadOptionText(after, kGroup, error)->at("EnableFPS"), "   ");
  // Text GLib cannot read is refused, with its reason.
  for (const std::string& damaged :
       {"[" + kGroup + "]\nno equals sign\n", std::string("[Software\\Tolvanet\nEnableFPS=1\n"),
        std::string("\0\xff\xfe[\n=\n", 8)}) {
    EXPECT_FALSE(ReadOptionText(damaged, kGroup, error));
    EXPECT_FALSE(WriteOptionText(damaged, kGroup, {}, after, error));
    EXPECT_FALSE(error.empty());
  }
  // The reason quotes the damaged line; it reaches the log and the dialog as printable UTF-8,
  // cut short.
  std::string noise = "[" + kGroup + "]\n";
  for (int i = 0; i < 2000; ++i) {  // control characters, and bytes that are not UTF-8
    noise += static_cast<char>(i % 3 == 0 ? 1 + i % 9 : 0x80 + i * 7919 % 128);
  }
  ASSERT_FALSE(ReadOptionText(noise, kGroup, error));
  EXPECT_TRUE(g_utf8_validate(error.data(), static_cast<gssize>(error.size()), nullptr)) << error;
  EXPECT_TRUE(std::none_of(error.begin(), error.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
  })) << error;
  EXPECT_LT(g_utf8_strlen(error.c_str(), -1), 210);
}

// Key files in a folder that does not exist yet; each reopening is a new store over the file.
struct KeyFileStores {
  KeyFileStores() { std::filesystem::remove_all(folder); }
  ~KeyFileStores() { std::filesystem::remove_all(folder); }
  OptionStore& Store() { return Reopened(); }
  OptionStore& Reopened() {
    return *opened.emplace_back(std::make_unique<KeyFileOptionStore>(path.string()));
  }
  std::filesystem::path folder = UniqueTempPath("keyfile-stores", "");
  std::filesystem::path path = folder / "config" / "driftglass.conf";
  std::vector<std::unique_ptr<KeyFileOptionStore>> opened;
};
INSTANTIATE_TYPED_TEST_SUITE_P(KeyFile, OptionStoreContract, KeyFileStores);

struct KeyFileStoreTest : ::testing::Test, KeyFileStores {};

TEST_F(KeyFileStoreTest, AFileOfAnOlderVersionIsReadAndItsGroupMovesAtTheNextSave) {
  // Options under the registry-like group of older versions; the plain group wins where both
  // hold a value.
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary)
      << "# mine\n[" + kGroup + "]\nEnableFPS=1\nEnableVSync=0\n[Driftglass]\nEnableVSync=2\n"
      << "[Other]\nkept=yes\n";
  KeyFileOptionStore store(path.string());
  SaverSettings settings(store);
  EXPECT_EQ(settings.enableFps.Get(), 1);
  EXPECT_EQ(settings.enableVSync.Get(), 2);
  ASSERT_EQ(settings.options.Save(), 0);
  EXPECT_EQ(ReadText(path),
            "# mine\n\n[Driftglass]\nEnableVSync=2\nAllMonitors=1\nEnableFPS=1\nEnableSound=1\n"
            "SlideshowPictures=\n\n[Other]\nkept=yes\n");
}

TEST_F(KeyFileStoreTest, AFileThatCannotBeReadIsReportedAndNeverOverwritten) {
  std::filesystem::create_directories(path.parent_path());
  const std::string damaged = "[" + kGroup + "]\nEnableFPS=1\nno equals sign\n";
  std::ofstream(path, std::ios::binary) << damaged;
  KeyFileOptionStore store(path.string());
  SaverSettings settings(store);
  EXPECT_TRUE(store.Unreadable());
  EXPECT_NE(store.LastError().find(path.string()), std::string::npos) << store.LastError();
  EXPECT_EQ(settings.enableFps.Get(), 0);  // the defaults stand
  EXPECT_EQ(settings.options.Save(), -1);
  EXPECT_EQ(ReadText(path), damaged);
  // A file where the folder should be: the save fails and says why.
  KeyFileOptionStore below((path / "below-a-file.conf").string());
  SaverSettings belowSettings(below);
  EXPECT_EQ(belowSettings.options.Save(), -1);
  EXPECT_FALSE(below.LastError().empty());
}

}  // namespace
}  // namespace driftglass
