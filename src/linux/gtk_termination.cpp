// Watching the termination pipe from GTK's main loop. The pipe stays readable once a signal
// came, so each watch is removed by its owner, never by its callback.
#include "linux/gtk_termination.h"

#include <glib-unix.h>

#include "linux/linux_termination.h"

namespace driftglass {
namespace {

gboolean AnswerDialog(gint, GIOCondition, gpointer dialog) {
  gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_DELETE_EVENT);
  return G_SOURCE_CONTINUE;
}

gboolean DestroyWindow(gint, GIOCondition, gpointer window) {
  gtk_widget_destroy(GTK_WIDGET(window));
  return G_SOURCE_CONTINUE;
}

void RemoveWatch(gpointer source) {
  g_source_remove(GPOINTER_TO_UINT(source));
}

}  // namespace

gint RunDialogUntilTerminated(GtkDialog* dialog) {
  if (TerminationRequested() || TerminationFd() < 0) {
    return TerminationRequested() ? GTK_RESPONSE_DELETE_EVENT : gtk_dialog_run(dialog);
  }
  const guint source = g_unix_fd_add(TerminationFd(), G_IO_IN, AnswerDialog, dialog);
  const gint response = gtk_dialog_run(dialog);
  g_source_remove(source);
  return response;
}

void DestroyOnTermination(GtkWidget* window) {
  if (TerminationFd() < 0) return;
  const guint source = g_unix_fd_add(TerminationFd(), G_IO_IN, DestroyWindow, window);
  g_signal_connect_swapped(window, "destroy", G_CALLBACK(RemoveWatch), GUINT_TO_POINTER(source));
}

}  // namespace driftglass
