// Owning holders of OpenGL names: each gives its object back when it goes, so every object a
// part makes is deleted with the part, on the render thread while the context is current.
// Move-only; a holder reads as its name wherever OpenGL takes one.
#pragma once

#include <utility>

#include "foundation/gl.h"

namespace driftglass {

template <typename Kind>
class GlName {
 public:
  GlName() = default;
  explicit GlName(GLuint name) : name_(name) {}
  GlName(GlName&& other) noexcept : name_(std::exchange(other.name_, 0)) {}
  GlName& operator=(GlName&& other) noexcept {
    if (this != &other) {
      Reset();
      name_ = std::exchange(other.name_, 0);
    }
    return *this;
  }
  GlName(const GlName&) = delete;
  GlName& operator=(const GlName&) = delete;
  ~GlName() { Reset(); }

  // A new object of this kind; its name is 0 when none could be made.
  static GlName Make() { return GlName(Kind::Create()); }
  operator GLuint() const& { return name_; }
  // A holder about to go cannot hand out its name: the object would go with it.
  operator GLuint() const&& = delete;
  // Deletes the object now; the holder is then empty.
  void Reset() {
    if (name_ != 0) Kind::Delete(name_);
    name_ = 0;
  }

 private:
  GLuint name_ = 0;
};

// Objects made and deleted in batches by glGen* and glDelete*, one at a time here.
template <auto& Generate, auto& Free>
struct GlBatchKind {
  static GLuint Create() {
    GLuint name = 0;
    Generate(1, &name);
    return name;
  }
  static void Delete(GLuint name) { Free(1, &name); }
};
struct GlProgramKind {
  static GLuint Create() { return glCreateProgram(); }
  static void Delete(GLuint name) { glDeleteProgram(name); }
};

using GlTexture = GlName<GlBatchKind<glGenTextures, glDeleteTextures>>;
using GlBuffer = GlName<GlBatchKind<glGenBuffers, glDeleteBuffers>>;
using GlFramebuffer = GlName<GlBatchKind<glGenFramebuffers, glDeleteFramebuffers>>;
using GlProgram = GlName<GlProgramKind>;

}  // namespace driftglass
