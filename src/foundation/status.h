// How an operation tells success from failure. Each shape has its own kind of operation:
// - `Status`, where an int status is part of the operation's contract: creating a shader
//   program, loading a picture, the render thread's and the scene's start-up steps, locking a
//   sound, and the stored options' load, save and text forms. kSucceeded is 0 and kFailed 1;
//   a save whose key cannot be created or opened gives kKeyUnavailable, -1.
// - bool, true on success, for every other operation; one that makes an object returns it,
//   or null when it could not.
// - A scene object that could not be built answers IsValid() false.
#pragma once

namespace driftglass {

enum Status : int { kKeyUnavailable = -1, kSucceeded = 0, kFailed = 1 };

}  // namespace driftglass
