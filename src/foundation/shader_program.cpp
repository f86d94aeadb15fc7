// Compiling and linking GLSL programs from embedded sources.
#include "foundation/shader_program.h"

#include <string>

#include "foundation/event_log.h"
#include "platform/services.h"

namespace driftglass {
namespace {

// The driver's explanation of a failed compile or link, as one log line.
template <typename GetIv, typename GetLog>
void LogInfo(GLuint object, const char* what, int id, GetIv getIv, GetLog getLog) {
  GLint length = 0;
  getIv(object, GL_INFO_LOG_LENGTH, &length);
  std::string info(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) getLog(object, length, nullptr, info.data());
  while (!info.empty() && (info.back() == '\0' || info.back() == '\n')) info.pop_back();
  std::string line = std::string(what) + " " + std::to_string(id) + " failed: " + info;
  TheEventLog().Write(kError, line.c_str());
}

// Compiles one stage; 0 when it failed.
GLuint CompileStage(GLenum type, int id) {
  const GLuint shader = glCreateShader(type);
  if (shader == 0) return 0;
  const ResourceText text(id);
  if (!text.IsLoaded()) {
    const std::string line = "Shader source " + std::to_string(id) + " is missing";
    TheEventLog().Write(kError, line.c_str());
    glDeleteShader(shader);
    return 0;
  }
  // Each source goes with its length: the embedded text needs no terminating zero.
  glShaderSource(shader, text.Count(), text.Sources(), text.Lengths());
  glCompileShader(shader);
  GLint status = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
  if (status != GL_TRUE) {
    LogInfo(shader, "Compiling shader", id, glGetShaderiv, glGetShaderInfoLog);
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

}  // namespace

ResourceText::ResourceText(int id) {
  const ResourceBytes bytes = Platform().findResource("Shaders", id);
  if (!bytes) return;
  source_ = reinterpret_cast<const GLchar*>(bytes.data);
  length_ = static_cast<GLint>(bytes.size);
  count_ = 1;
}

Status CreateProgram(int vertexId, int fragmentId, GLuint& program) {
  GLuint vertex = 0;
  GLuint fragment = 0;
  // The stages are given back whatever happens: once attached, a deleted stage lives on only
  // as long as its program.
  const auto deleteStages = [&] {
    if (vertex != 0) glDeleteShader(vertex);
    if (fragment != 0) glDeleteShader(fragment);
  };
  if ((vertexId != 0 && (vertex = CompileStage(GL_VERTEX_SHADER, vertexId)) == 0) ||
      (fragmentId != 0 && (fragment = CompileStage(GL_FRAGMENT_SHADER, fragmentId)) == 0)) {
    deleteStages();
    return kFailed;
  }
  const GLuint linked = glCreateProgram();
  if (linked != 0) {
    if (vertex != 0) glAttachShader(linked, vertex);
    if (fragment != 0) glAttachShader(linked, fragment);
    glLinkProgram(linked);
  }
  deleteStages();
  if (linked == 0) return kFailed;
  GLint status = 0;
  glGetProgramiv(linked, GL_LINK_STATUS, &status);
  if (status != GL_TRUE) {
    LogInfo(linked, "Linking program of shader", vertexId != 0 ? vertexId : fragmentId,
            glGetProgramiv, glGetProgramInfoLog);
    glDeleteProgram(linked);
    return kFailed;
  }
  program = linked;
  return kSucceeded;
}

void SetUniform1(GLint location, double value) {
  glUniform1f(location, static_cast<GLfloat>(value));
}

void SetUniform3(GLint location, const Vector3& value) {
  glUniform3f(location, static_cast<GLfloat>(value.x), static_cast<GLfloat>(value.y),
              static_cast<GLfloat>(value.z));
}

}  // namespace driftglass
