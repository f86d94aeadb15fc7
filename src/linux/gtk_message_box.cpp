// The message box on Linux, with GTK 3; window thread only.
#include <gtk/gtk.h>

#include "linux/gtk_dialogs.h"
#include "linux/gtk_termination.h"

namespace driftglass {

bool ShowMessageBox(const char* title, const char* text) {
  if (!gtk_init_check(nullptr, nullptr)) return false;
  GtkWidget* dialog = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER,
                                             GTK_BUTTONS_OK, "%s", text);
  gtk_window_set_title(GTK_WINDOW(dialog), title);
  gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER);
  RunDialogUntilTerminated(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  while (gtk_events_pending()) gtk_main_iteration();
  return true;
}

}  // namespace driftglass
