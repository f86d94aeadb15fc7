// The settings dialog on Windows: dialog resource 2003 driven by the portable dialog model.
// Window thread only.
#include "windows/win32_settings_dialog.h"

#include <windows.h>

#include "host/settings_dialog_model.h"

namespace driftglass {
namespace {

constexpr int kIconId = 102;
constexpr int kSettingsDialogId = 2003;
constexpr int kBannerControlId = 105;
constexpr int kBannerPictureId = 125;

// The banner drawn at the size its control has at this DPI and font (the dialog grows with
// them, a bitmap does not): smoothly scaled from the picture, to fill the dialog's width.
HBITMAP ScaledBanner(HWND control) {
  RECT area{};
  GetClientRect(control, &area);
  HBITMAP picture =
      static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kBannerPictureId),
                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (picture == nullptr || area.right <= 0 || area.bottom <= 0) return picture;
  BITMAP size{};
  GetObjectW(picture, sizeof size, &size);
  HDC screen = GetDC(control);
  HDC from = CreateCompatibleDC(screen);
  HDC to = CreateCompatibleDC(screen);
  HBITMAP scaled = CreateCompatibleBitmap(screen, area.right, area.bottom);
  if (scaled != nullptr) {
    HGDIOBJ oldFrom = SelectObject(from, picture);
    HGDIOBJ oldTo = SelectObject(to, scaled);
    SetStretchBltMode(to, HALFTONE);
    SetBrushOrgEx(to, 0, 0, nullptr);
    StretchBlt(to, 0, 0, area.right, area.bottom, from, 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
    SelectObject(from, oldFrom);
    SelectObject(to, oldTo);
  }
  DeleteDC(from);
  DeleteDC(to);
  ReleaseDC(control, screen);
  if (scaled == nullptr) return picture;
  DeleteObject(picture);
  return scaled;
}

void RefreshSettingsChecks(HWND dialog, const SettingsDialogModel& model) {
  for (const SettingsDialogModel::CheckBox& box : SettingsDialogModel::kCheckBoxes) {
    CheckDlgButton(dialog, box.id, model.Checked(box.id) ? BST_CHECKED : BST_UNCHECKED);
  }
}

INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  auto* model = reinterpret_cast<SettingsDialogModel*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (model == nullptr) return 0;
  switch (message) {
    case WM_INITDIALOG: {
      HINSTANCE instance = GetModuleHandleW(nullptr);
      SendMessageW(dialog, WM_SETICON, ICON_SMALL,
                   reinterpret_cast<LPARAM>(LoadIconW(instance, MAKEINTRESOURCEW(kIconId))));
      SendMessageW(dialog, WM_SETICON, ICON_BIG,
                   reinterpret_cast<LPARAM>(LoadIconW(instance, MAKEINTRESOURCEW(kIconId))));
      HWND banner = GetDlgItem(dialog, kBannerControlId);
      if (HBITMAP scaled = ScaledBanner(banner)) {
        // Ours is freed with the dialog. The control hands back the bitmap it loaded from the
        // template, which it no longer frees once it has been replaced.
        SetPropW(dialog, L"DriftglassBanner", scaled);
        const LRESULT loaded =
            SendMessageW(banner, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled));
        if (loaded != 0 && reinterpret_cast<HBITMAP>(loaded) != scaled)
          DeleteObject(reinterpret_cast<HGDIOBJ>(loaded));
      }
      return 0;
    }
    case WM_DESTROY:
      if (HANDLE scaled = RemovePropW(dialog, L"DriftglassBanner")) DeleteObject(scaled);
      return 0;
    case WM_SHOWWINDOW:
      RefreshSettingsChecks(dialog, *model);
      return 0;
    case WM_CLOSE:
      EndDialog(dialog, 1);
      return 1;
    case WM_COMMAND: {
      const int control = LOWORD(wParam);
      const bool checked = IsDlgButtonChecked(dialog, control) == BST_CHECKED;
      switch (model->OnCommand(control, HIWORD(wParam), checked)) {
        case SettingsDialogModel::Outcome::Ignored:
          return 0;
        case SettingsDialogModel::Outcome::Handled:
          RefreshSettingsChecks(dialog, *model);
          return 1;
        case SettingsDialogModel::Outcome::Close:
          SendMessageW(dialog, WM_CLOSE, 0, 0);
          return 1;
        case SettingsDialogModel::Outcome::SaveFailed:
          MessageBoxA(dialog, model->SaveError().c_str(), kSettingsTitle, MB_OK | MB_ICONWARNING);
          return 1;
      }
      return 0;
    }
    default:
      return 0;
  }
}

}  // namespace

int RunSettingsDialog(SaverSettings& settings, OptionStore& store, uintptr_t owner) {
  SettingsDialogModel model(settings, store);
  return static_cast<int>(DialogBoxParamW(
      GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kSettingsDialogId), reinterpret_cast<HWND>(owner),
      SettingsDialogProc, reinterpret_cast<LPARAM>(&model)));
}

}  // namespace driftglass
