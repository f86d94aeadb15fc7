// Works the Windows program's windows from inside Wine for the end-to-end tests, the way a
// user's clicks would: finds a top-level window by its title and clicks its controls.
//   win_driver click TITLE ID         click control ID of window TITLE
//   win_driver close TITLE            the title bar's close button
//   win_driver text TITLE             print the texts of the window's static controls
//   win_driver count CLASS TITLE      print how many top-level windows of that class and title
//   win_driver post TITLE MSG WPARAM  post message MSG (decimal) with WPARAM to window TITLE
//   win_driver size TITLE W H         make window TITLE W x H pixels, where it is
//   win_driver settle TITLE [child]   return once window TITLE's thread (or that of its first
//                                     child) has handled every message posted to it so far
//   win_driver host TITLE             make a window TITLE (as the display settings' preview
//                                     pane), print its handle and keep it until it is closed
//   win_driver icons FILE ID          print the sizes of FILE's icon group ID, one a line
//   win_driver version FILE           print the product name, file version and copyright
//                                     of FILE's version resource, one a line
// A command that fails says so on stderr, so that a run with no word at all is one that Wine
// did not start.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::wstring Wide(const char* text) {
  std::wstring result;
  for (; *text != 0; ++text) result += static_cast<wchar_t>(static_cast<unsigned char>(*text));
  return result;
}

// Every top-level window with exactly this title (FindWindow ignores case, and the saver's
// "Screen Saver" is not the message box "Screen saver").
std::vector<HWND> TopLevel(const char* title) {
  struct Search {
    std::wstring title;
    std::vector<HWND> found;
  } search{Wide(title), {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& wanted = *reinterpret_cast<Search*>(data);
        wchar_t text[256] = {};
        GetWindowTextW(window, text, 256);
        if (wanted.title == text) wanted.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The visible one.
HWND Find(const char* title) {
  for (HWND window : TopLevel(title)) {
    if (IsWindowVisible(window)) return window;
  }
  return nullptr;
}

int Count(const char* className, const char* title) {
  int count = 0;
  for (HWND window : TopLevel(title)) {
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    count += Wide(className) == name ? 1 : 0;
  }
  std::printf("%d\n", count);
  return 0;
}

int PrintTexts(HWND window) {
  EnumChildWindows(
      window,
      [](HWND child, LPARAM) -> BOOL {
        char className[64] = {}, text[1024] = {};
        GetClassNameA(child, className, sizeof className);
        GetWindowTextA(child, text, sizeof text);
        if (lstrcmpiA(className, "Static") == 0 && text[0] != 0) std::printf("%s\n", text);
        return TRUE;
      },
      0);
  return 0;
}

int Host(const char* title) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = [](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
  };
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"DriftglassTestHost";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, L"DriftglassTestHost", Wide(title).c_str(),
                                WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 320, 240, nullptr,
                                nullptr, windowClass.hInstance, nullptr);
  if (window == nullptr) return 1;
  std::printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(window)));
  std::fflush(stdout);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

// The images of an icon group as Windows stores them: a directory of 14-byte entries after a
// 6-byte header, each starting with the width and height (0 for 256).
int PrintIconSizes(const char* path, int id) {
  HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC found = module != nullptr
                    ? FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14))  // group
                    : nullptr;
  const auto* group = found != nullptr
                          ? static_cast<const BYTE*>(LockResource(LoadResource(module, found)))
                          : nullptr;
  if (group == nullptr) return 1;
  for (int i = 0; i < (group[4] | group[5] << 8); ++i) {
    const BYTE* entry = group + 6 + 14 * i;
    std::printf("%dx%d %d\n", entry[0] == 0 ? 256 : entry[0], entry[1] == 0 ? 256 : entry[1],
                entry[6] | entry[7] << 8);
  }
  return 0;
}

// What Explorer's Properties would show of a program's version resource.
int PrintVersion(const char* path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  std::string data(size, '\0');
  if (size == 0 || !GetFileVersionInfoA(path, 0, size, data.data())) return 1;
  for (const char* name : {"ProductName", "FileVersion", "LegalCopyright"}) {
    const std::string key = std::string("\\StringFileInfo\\040904B0\\") + name;
    char* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) {
      return 1;
    }
    std::printf("%s\n", value);
  }
  return 0;
}

// Messages sent to another thread's window are handled inside its next GetMessage or
// PeekMessage, before the posted ones that call returns: the first answer may come before
// what was posted, the second comes after the loop has taken it and come round again.
int Settle(HWND window) {
  for (int round = 0; round < 2; ++round) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result) == 0) return 1;
  }
  return 0;
}

int Run(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string command = argv[1];
  const int number = argc > 3 ? std::atoi(argv[3]) : 0;
  if (command == "count" && argc == 4) return Count(argv[2], argv[3]);
  if (command == "host") return Host(argv[2]);
  if (command == "version") return PrintVersion(argv[2]);
  if (command == "icons" && argc == 4) return PrintIconSizes(argv[2], number);
  HWND window = Find(argv[2]);
  if (window == nullptr) return 1;
  if (command == "click" && argc == 4) {
    HWND control = GetDlgItem(window, number);
    if (control == nullptr) return 1;
    SendMessageW(control, BM_CLICK, 0, 0);
    return 0;
  }
  if (command == "post" && argc == 5) {
    PostMessageW(window, static_cast<UINT>(std::strtoul(argv[3], nullptr, 10)),
                 static_cast<WPARAM>(std::strtoul(argv[4], nullptr, 10)), 0);
    return 0;
  }
  if (command == "size" && argc == 5) {
    const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    return SetWindowPos(window, nullptr, 0, 0, number, std::atoi(argv[4]), flags) ? 0 : 1;
  }
  if (command == "close") return PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : 1;
  if (command == "text") return PrintTexts(window);
  if (command == "settle") return Settle(argc == 4 ? GetWindow(window, GW_CHILD) : window);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const int status = Run(argc, argv);
  if (status != 0) {
    std::fprintf(stderr, "win_driver: %s %s failed\n", argc > 1 ? argv[1] : "(no command)",
                 argc > 2 ? argv[2] : "");
  }
  return status;
}
