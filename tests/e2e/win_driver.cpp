// Works the Windows program's windows from inside Wine for the end-to-end tests, the way a
// user's clicks would: finds a top-level window by its title and clicks its controls.
//   win_driver wait TITLE MS          exit 0 once a window TITLE exists, 1 after MS
//   win_driver click TITLE ID         click control ID of window TITLE
//   win_driver checked TITLE ID       print 1 or 0 for check box ID
//   win_driver close TITLE            the title bar's close button
//   win_driver text TITLE             print the texts of the window's static controls
//   win_driver count CLASS TITLE      print how many top-level windows of that class and title
//   win_driver post TITLE MSG WPARAM  post message MSG (decimal) with WPARAM to window TITLE
//   win_driver host TITLE             make a window TITLE (as the display settings' preview
//                                     pane), print its handle and keep it until it is closed
//   win_driver answer TITLE           print the text of message box TITLE and press its OK
//   win_driver volatile KEY           make HKLM\KEY anew as a volatile key, under which no
//                                     lasting key can be made
//   win_driver rect TITLE ID          print control ID's rectangle and the window's client
//                                     area, both on the screen: "l t r b  l t r b"
//   win_driver icons FILE ID          print the sizes of FILE's icon group ID, one a line
//   win_driver version FILE           print the product name, file version and copyright
//                                     of FILE's version resource, one a line
//   win_driver settle TITLE [child]   return once window TITLE's thread (or that of its first
//                                     child) has handled every message posted to it so far
// A command that fails says so on stderr, so that a run with no word at all is one that Wine
// did not start.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::wstring Wide(const char* text) {
  std::wstring result;
  for (; *text != 0; ++text) result += static_cast<wchar_t>(static_cast<unsigned char>(*text));
  return result;
}

struct Search {
  std::wstring title;
  HWND found = nullptr;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM data) {
  Search& search = *reinterpret_cast<Search*>(data);
  wchar_t title[256] = {};
  GetWindowTextW(window, title, 256);
  if (search.title != title || !IsWindowVisible(window)) return TRUE;
  search.found = window;
  return FALSE;
}

// A visible top-level window with exactly this title (FindWindow ignores case, and the
// saver's "Screen Saver" is not the message box "Screen saver").
HWND FindTopLevel(const char* title) {
  Search search{Wide(title)};
  EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A message box keeps its text in a static control of id 0xFFFF.
constexpr int kMessageBoxTextId = 0xFFFF;

BOOL CALLBACK MatchMessageBox(HWND window, LPARAM data) {
  Search& search = *reinterpret_cast<Search*>(data);
  wchar_t title[256] = {};
  GetWindowTextW(window, title, 256);
  if (search.title != title || !IsWindowVisible(window) ||
      GetDlgItem(window, kMessageBoxTextId) == nullptr) {
    return TRUE;
  }
  search.found = window;
  return FALSE;
}

int Answer(const char* title) {
  Search search{Wide(title)};
  EnumWindows(MatchMessageBox, reinterpret_cast<LPARAM>(&search));
  if (search.found == nullptr) return 1;
  char text[1024] = {};
  GetDlgItemTextA(search.found, kMessageBoxTextId, text, sizeof text);
  std::printf("%s\n", text);
  PostMessageW(search.found, WM_COMMAND, IDOK, 0);
  return 0;
}

int MakeVolatileKey(const char* path) {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, path);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, path);
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return 1;
  }
  RegCloseKey(key);
  return 0;
}

BOOL CALLBACK PrintStatic(HWND child, LPARAM) {
  char className[64] = {};
  GetClassNameA(child, className, sizeof className);
  if (lstrcmpiA(className, "Static") == 0) {
    char text[1024] = {};
    GetWindowTextA(child, text, sizeof text);
    if (text[0] != 0) std::printf("%s\n", text);
  }
  return TRUE;
}

struct Count {
  std::wstring className;
  std::wstring title;
  int found = 0;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM data) {
  Count& count = *reinterpret_cast<Count*>(data);
  wchar_t className[128] = {};
  wchar_t title[256] = {};
  GetClassNameW(window, className, 128);
  GetWindowTextW(window, title, 256);
  if (count.className == className && count.title == title) ++count.found;
  return TRUE;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(window, message, wParam, lParam);
}

int Host(const char* title) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = HostProc;
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
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

int PrintRect(HWND window, int id) {
  HWND control = GetDlgItem(window, id);
  if (control == nullptr) return 1;
  RECT rect{}, client{};
  GetWindowRect(control, &rect);
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  std::printf("%ld %ld %ld %ld %ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom,
              client.left, client.top, client.right, client.bottom);
  return 0;
}

// The images of an icon group as Windows stores them: a directory of 14-byte entries after a
// 6-byte header, each starting with the width and height (0 for 256).
int PrintIconSizes(const char* path, int id) {
  HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) return 1;
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  const auto* group = found != nullptr
                          ? static_cast<const BYTE*>(LockResource(LoadResource(module, found)))
                          : nullptr;
  if (group == nullptr) return 1;
  const int count = group[4] | group[5] << 8;
  for (int i = 0; i < count; ++i) {
    const BYTE* entry = group + 6 + 14 * i;
    const int bits = entry[6] | entry[7] << 8;
    std::printf("%dx%d %d\n", entry[0] == 0 ? 256 : entry[0], entry[1] == 0 ? 256 : entry[1], bits);
  }
  return 0;
}

// What Explorer's Properties would show of a program's version resource.
int PrintVersion(const char* path) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  if (size == 0) return 1;
  std::string data(size, '\0');
  if (!GetFileVersionInfoA(path, 0, size, data.data())) return 1;
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
  if (argc < 3) {
    std::fprintf(stderr, "usage: win_driver wait|click|checked|close|text|count ...\n");
    return 2;
  }
  const std::string command = argv[1];
  if (command == "count" && argc == 4) {
    Count count{Wide(argv[2]), Wide(argv[3])};
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&count));
    std::printf("%d\n", count.found);
    return 0;
  }
  if (command == "host") return Host(argv[2]);
  if (command == "answer") return Answer(argv[2]);
  if (command == "volatile") return MakeVolatileKey(argv[2]);
  if (command == "version") return PrintVersion(argv[2]);
  if (command == "icons" && argc == 4) return PrintIconSizes(argv[2], std::atoi(argv[3]));
  if (command == "rect" && argc == 4) {
    HWND window = FindTopLevel(argv[2]);
    return window == nullptr ? 1 : PrintRect(window, std::atoi(argv[3]));
  }
  if (command == "wait" && argc == 4) {
    const DWORD end = GetTickCount() + std::atoi(argv[3]);
    while (FindTopLevel(argv[2]) == nullptr) {
      if (GetTickCount() > end) return 1;
      Sleep(50);
    }
    return 0;
  }
  HWND window = FindTopLevel(argv[2]);
  if (window == nullptr) {
    std::fprintf(stderr, "win_driver: no window titled '%s'\n", argv[2]);
    return 1;
  }
  if (command == "click" && argc == 4) {
    HWND control = GetDlgItem(window, std::atoi(argv[3]));
    if (control == nullptr) return 1;
    SendMessageW(control, BM_CLICK, 0, 0);
    return 0;
  }
  if (command == "checked" && argc == 4) {
    std::printf("%d\n", IsDlgButtonChecked(window, std::atoi(argv[3])) == BST_CHECKED ? 1 : 0);
    return 0;
  }
  if (command == "post" && argc == 5) {
    PostMessageW(window, static_cast<UINT>(std::strtoul(argv[3], nullptr, 10)),
                 static_cast<WPARAM>(std::strtoul(argv[4], nullptr, 10)), 0);
    return 0;
  }
  if (command == "close") {
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
  }
  if (command == "text") {
    EnumChildWindows(window, PrintStatic, 0);
    return 0;
  }
  if (command == "settle") {
    return Settle(argc == 4 ? GetWindow(window, GW_CHILD) : window);
  }
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const int status = Run(argc, argv);
  if (status != 0) std::fprintf(stderr, "win_driver: %s failed\n", argc > 1 ? argv[1] : "");
  return status;
}
