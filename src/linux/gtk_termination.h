// GTK windows that give way to SIGTERM and SIGINT: a box or dialog must never keep the
// process alive after the daemon or the session asked it to end. Part of the dialog module;
// window thread only.
#pragma once

#include <gtk/gtk.h>

namespace driftglass {

// gtk_dialog_run that also ends (with GTK_RESPONSE_DELETE_EVENT) when a signal arrives, that
// is when `terminationFd` becomes readable (-1: no signals are watched).
gint RunDialogUntilTerminated(GtkDialog* dialog, int terminationFd);
// Destroys `window` when a signal arrives; the watch goes with the window.
void DestroyOnTermination(GtkWidget* window, int terminationFd);

}  // namespace driftglass
