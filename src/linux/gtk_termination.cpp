// Watching the termination pipe from GTK's main loop. The pipe stays readable once a signal
// came, so each watch is removed by its owner, never by its callback.
#include "linux/gtk_termination.h"

#include <glib-unix.h>
#include <poll.h>

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

// A signal has come already: the pipe is readable.
bool Terminated(int terminationFd) {
  pollfd pipe{terminationFd, POLLIN, 0};
  return terminationFd >= 0 && poll(&pipe, 1, 0) == 1 && (pipe.revents & POLLIN) != 0;
}

}  // namespace

gint RunDialogUntilTerminated(GtkDialog* dialog, int terminationFd) {
  if (terminationFd < 0) return gtk_dialog_run(dialog);
  if (Terminated(terminationFd)) return GTK_RESPONSE_DELETE_EVENT;
  const guint source = g_unix_fd_add(terminationFd, G_IO_IN, AnswerDialog, dialog);
  const gint response = gtk_dialog_run(dialog);
  g_source_remove(source);
  return response;
}

void DestroyOnTermination(GtkWidget* window, int terminationFd) {
  if (terminationFd < 0) return;
  const guint source = g_unix_fd_add(terminationFd, G_IO_IN, DestroyWindow, window);
  g_signal_connect_swapped(window, "destroy", G_CALLBACK(RemoveWatch), GUINT_TO_POINTER(source));
}

}  // namespace driftglass
