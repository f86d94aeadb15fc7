// The settings dialog of the dialog module, with GTK 3: the banner, the check boxes with their
// explanations, "Confirm settings" and "Reset to default". Window (main) thread only.
#include <gtk/gtk.h>

#include <iterator>
#include <type_traits>
#include <vector>

#include "linux/dialog_module.h"
#include "linux/gtk_termination.h"

namespace driftglass {
namespace {

struct Dialog {
  SettingsDialogHost* model = nullptr;
  int terminationFd = -1;
  GtkWidget* window = nullptr;
  // The check boxes, in the model's order.
  GtkWidget* boxes[std::size(SettingsDialogModel::kCheckBoxes)] = {};
  bool refreshing = false;
};

void RefreshSettingsChecks(Dialog& dialog) {
  dialog.refreshing = true;  // setting a box is not a click
  for (size_t i = 0; i < std::size(dialog.boxes); ++i) {
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(dialog.boxes[i]),
                                 dialog.model->Checked(SettingsDialogModel::kCheckBoxes[i].id));
  }
  dialog.refreshing = false;
}

void Command(Dialog& dialog, int control, bool checked) {
  switch (dialog.model->Command(control, checked)) {
    case SettingsDialogModel::Outcome::Close:
      gtk_widget_destroy(dialog.window);
      break;
    case SettingsDialogModel::Outcome::SaveFailed: {
      GtkWidget* message =
          gtk_message_dialog_new(GTK_WINDOW(dialog.window), GTK_DIALOG_MODAL, GTK_MESSAGE_WARNING,
                                 GTK_BUTTONS_OK, "%s", dialog.model->SaveError().c_str());
      gtk_window_set_title(GTK_WINDOW(message), kSettingsTitle);
      RunDialogUntilTerminated(GTK_DIALOG(message), dialog.terminationFd);
      gtk_widget_destroy(message);
      break;
    }
    case SettingsDialogModel::Outcome::Handled:
      RefreshSettingsChecks(dialog);
      break;
    case SettingsDialogModel::Outcome::Ignored:
      break;
  }
}

void OnToggled(GtkToggleButton* button, gpointer data) {
  Dialog& dialog = *static_cast<Dialog*>(data);
  if (dialog.refreshing) return;
  const GtkWidget* widget = GTK_WIDGET(button);
  for (size_t i = 0; i < std::size(dialog.boxes); ++i) {
    if (dialog.boxes[i] != widget) continue;
    Command(dialog, SettingsDialogModel::kCheckBoxes[i].id, gtk_toggle_button_get_active(button));
  }
}

void OnConfirm(GtkButton*, gpointer data) {
  Command(*static_cast<Dialog*>(data), kConfirmSettingsId, false);
}

void OnReset(GtkButton*, gpointer data) {
  Command(*static_cast<Dialog*>(data), kResetToDefaultId, false);
}

void FreePixels(guchar* pixels, gpointer) {
  g_free(pixels);
}

// The banner picture, or nothing when the program could not read it.
GtkWidget* BannerImage(const SettingsDialogHost& host) {
  const std::vector<uint32_t>& pixels = host.banner;
  const int width = host.bannerWidth, height = host.bannerHeight;
  if (pixels.empty()) return gtk_label_new("");
  guchar* rgb = static_cast<guchar*>(g_malloc(static_cast<gsize>(width) * height * 3));
  for (size_t i = 0; i < pixels.size(); ++i) {
    rgb[i * 3] = (pixels[i] >> 16) & 0xFF;
    rgb[i * 3 + 1] = (pixels[i] >> 8) & 0xFF;
    rgb[i * 3 + 2] = pixels[i] & 0xFF;
  }
  GdkPixbuf* pixbuf = gdk_pixbuf_new_from_data(rgb, GDK_COLORSPACE_RGB, FALSE, 8, width, height,
                                               width * 3, FreePixels, nullptr);
  GtkWidget* image = gtk_image_new_from_pixbuf(pixbuf);
  g_object_unref(pixbuf);
  return image;
}

void SetIcon(GtkWindow* window, const std::vector<unsigned char>& icon) {
  if (icon.empty()) return;
  GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
  if (gdk_pixbuf_loader_write(loader, icon.data(), icon.size(), nullptr) &&
      gdk_pixbuf_loader_close(loader, nullptr)) {
    if (GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader)) {
      gtk_window_set_icon(window, pixbuf);
    }
  } else {
    gdk_pixbuf_loader_close(loader, nullptr);
  }
  g_object_unref(loader);
}

GtkWidget* Explanation(const char* text) {
  GtkWidget* label = gtk_label_new(text);
  gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
  gtk_label_set_max_width_chars(GTK_LABEL(label), 38);
  gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
  gtk_widget_set_hexpand(label, TRUE);
  return label;
}

}  // namespace

}  // namespace driftglass

extern "C" __attribute__((visibility("default"))) bool DriftglassRunSettingsDialog(
    driftglass::SettingsDialogHost& host, int terminationFd) {
  using namespace driftglass;
  static_assert(std::is_same_v<decltype(&DriftglassRunSettingsDialog), RunSettingsDialogEntry>);
  if (!gtk_init_check(nullptr, nullptr)) return false;
  Dialog dialog;
  dialog.model = &host;
  dialog.terminationFd = terminationFd;

  dialog.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* window = GTK_WINDOW(dialog.window);
  gtk_window_set_title(window, kSettingsTitle);
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_position(window, GTK_WIN_POS_MOUSE);
  SetIcon(window, host.icon);
  g_signal_connect(dialog.window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  // SIGTERM closes the dialog like its close button: nothing is saved.
  DestroyOnTermination(dialog.window, terminationFd);

  GtkWidget* grid = gtk_grid_new();
  gtk_grid_set_row_spacing(GTK_GRID(grid), 10);
  gtk_grid_set_column_spacing(GTK_GRID(grid), 12);
  gtk_container_add(GTK_CONTAINER(dialog.window), grid);
  gtk_grid_attach(GTK_GRID(grid), BannerImage(host), 0, 0, 3, 1);

  // A row for each box with its explanation; the buttons beside the first two.
  GtkWidget* confirm = gtk_button_new_with_label(kConfirmText);
  GtkWidget* reset = gtk_button_new_with_label(kResetText);
  for (GtkWidget* widget : {confirm, reset}) gtk_widget_set_margin_end(widget, 10);
  for (size_t i = 0; i < std::size(dialog.boxes); ++i) {
    const SettingsDialogModel::CheckBox& box = SettingsDialogModel::kCheckBoxes[i];
    const int row = static_cast<int>(i) + 1;
    dialog.boxes[i] = gtk_check_button_new_with_label(box.text);
    gtk_widget_set_margin_start(dialog.boxes[i], 10);
    gtk_grid_attach(GTK_GRID(grid), dialog.boxes[i], 0, row, 1, 1);
    gtk_grid_attach(GTK_GRID(grid), Explanation(box.help), 1, row, 1, 1);
  }
  gtk_widget_set_margin_bottom(dialog.boxes[std::size(dialog.boxes) - 1], 12);
  gtk_grid_attach(GTK_GRID(grid), confirm, 2, 1, 1, 1);
  gtk_grid_attach(GTK_GRID(grid), reset, 2, 2, 1, 1);

  RefreshSettingsChecks(dialog);
  for (GtkWidget* box : dialog.boxes) {
    g_signal_connect(box, "toggled", G_CALLBACK(OnToggled), &dialog);
  }
  g_signal_connect(confirm, "clicked", G_CALLBACK(OnConfirm), &dialog);
  g_signal_connect(reset, "clicked", G_CALLBACK(OnReset), &dialog);

  gtk_widget_show_all(dialog.window);
  gtk_window_set_focus(window, dialog.boxes[0]);
  gtk_main();
  return true;
}
