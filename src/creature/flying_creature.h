// The flying creature: a long, horned, scaled body of four meshes bent along a 20-node ribbon,
// steered by its flight controller, with two fast-beating wings that shed sparks and a buzz
// when it climbs. Render thread only, with the context current.
#pragma once

#include <array>
#include <memory>
#include <vector>

#include "creature/creature_tables.h"
#include "creature/flight_controller.h"
#include "creature/wing.h"
#include "foundation/ribbon.h"
#include "sound/wings_sound.h"

namespace driftglass {

class FlyingCreatureClass {
 public:
  // Builds the body's programs and buffers, the wings and the wing sound; IsValid tells
  // whether everything could be made.
  explicit FlyingCreatureClass(SoundManager& sounds);
  bool IsValid() const { return valid_; }
  // Moves the body and the wings by the frame time, and moves the buzz with the head.
  void Update(double frameMs);
  // The body through its four surfaces, then the wings with their sparks, as Update left
  // them, in the view whose matrices are current; left out when the view cannot show any of
  // it (but for the second frame, below). Any number of views may be drawn a frame.
  void Draw();
  // The body alone: its four meshes bent along the ribbon.
  void DrawBody();

  Ribbon& GetRibbon() { return ribbon_; }
  const FlightController& Flight() const { return flight_; }
  const Wing& GetWing(int i) const { return wings_[i]; }

  // Where wing `side` (0 on the body's +y side, 1 its mirror image) sits on the bent body:
  // its root, the body's direction there and its span's rest direction.
  struct WingPlace {
    Vector3 root, bodyAxis, spanAxis;
  };
  static WingPlace PlaceWing(const Ribbon& ribbon, int side);

 private:
  // One surface's program and where its inputs are; an input the shader does not read is -1
  // (the linker drops it) and is simply left unbound.
  struct SurfaceProgram {
    GlProgram program;
    GLint aGridPoint = -1, aNormal = -1, aGridX = -1, aGridY = -1;
    GLint uRibbonMatrixes = -1, uRibbonVertexes = -1;
  };
  bool BuildPrograms();
  void PlaceWings();
  // Whether any of the body, the wings or the sparks may show in the view.
  bool InSight() const;

  Ribbon ribbon_{kRibbonNodes};
  FlightController flight_{ribbon_};
  WingsSoundClass wingsSound_;
  std::array<Wing, 2> wings_;
  std::array<SurfaceProgram, 4> programs_;
  std::vector<VertexTable> tables_;    // the creature's own copy, normalised
  std::vector<TableBuffers> buffers_;  // one pair for each table
  double reach_ = 0;                   // how far any body or wing vertex is from its node
  int frames_ = 0;                     // frames moved, counted up to 3
  bool valid_ = false;
};

}  // namespace driftglass
