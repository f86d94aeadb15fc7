// The message box of the dialog module, with GTK 3; window thread only.
#include <gtk/gtk.h>

#include <type_traits>

#include "linux/dialog_module.h"
#include "linux/gtk_termination.h"

extern "C" __attribute__((visibility("default"))) bool DriftglassShowMessageBox(const char* title,
                                                                                const char* text,
                                                                                int terminationFd) {
  static_assert(
      std::is_same_v<decltype(&DriftglassShowMessageBox), driftglass::ShowMessageBoxEntry>);
  if (!gtk_init_check(nullptr, nullptr)) return false;
  GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER,
                                             GTK_BUTTONS_OK, "%s", text);
  gtk_window_set_title(GTK_WINDOW(dialog), title);
  gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  driftglass::RunDialogUntilTerminated(GTK_DIALOG(dialog), terminationFd);
  gtk_widget_destroy(dialog);
  while (gtk_events_pending()) gtk_main_iteration();
  return true;
}
