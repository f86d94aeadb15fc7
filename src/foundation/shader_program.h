// GLSL programs built from the sources compiled into the program (resource type "SHADERS"),
// and the uniform setters that hand the scene's doubles to GLSL as floats. Render thread
// only, with the context current.
#pragma once

#include "foundation/gl.h"
#include "foundation/gl_name.h"
#include "foundation/status.h"
#include "foundation/vector_math.h"

namespace driftglass {

// One located shader source: the string list and lengths that glShaderSource takes.
class ResourceText {
 public:
  explicit ResourceText(int id);
  bool IsLoaded() const { return count_ != -1; }
  const GLchar* const* Sources() const { return &source_; }
  const GLint* Lengths() const { return &length_; }
  GLsizei Count() const { return count_; }

 private:
  const GLchar* source_ = nullptr;
  GLint length_ = 0;
  GLsizei count_ = -1;
};

// Compiles the two sources (an id of 0 leaves that stage out) and links them. kSucceeded,
// with the program's name in `program`, or kFailed, with `program` untouched and the
// compiler's or linker's words in the event log.
Status CreateProgram(int vertexId, int fragmentId, GLuint& program);
// The same, into a holder that deletes the program with its owner.
inline Status CreateProgram(int vertexId, int fragmentId, GlProgram& program) {
  GLuint name = 0;
  const Status result = CreateProgram(vertexId, fragmentId, name);
  if (result == kSucceeded) program = GlProgram(name);
  return result;
}

void SetUniform1(GLint location, double value);
void SetUniform3(GLint location, const Vector3& value);

}  // namespace driftglass
