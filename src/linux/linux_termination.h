// SIGTERM and SIGINT on Linux. The xscreensaver daemon stops its hacks with SIGTERM and a
// session ends with it, so every state of the program that waits for something (the event
// loop, the failure box, the settings dialog) also watches the pipe the signal handler
// writes to, and takes its orderly way out when it becomes readable.
#pragma once

#include <string>

namespace driftglass {

// Makes the pipe and installs the handlers; false, with the reason in `error`, when the pipe
// cannot be made (then nothing could answer a signal, so the program must not start).
bool InstallTerminationSignals(std::string& error);
// The pipe's read end: readable once SIGTERM or SIGINT arrived. -1 before the install.
int TerminationFd();
// A signal has arrived.
bool TerminationRequested();
// Once the orderly shutdown is over: when a signal asked for it, ends the process by that
// signal (its default action), so that a parent such as xscreensaver sees a normal end by
// SIGTERM rather than an exit; otherwise returns.
void EndByTerminationSignal();

}  // namespace driftglass
