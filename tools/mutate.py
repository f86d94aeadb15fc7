#!/usr/bin/env python3
"""Breaks the portable code one line at a time and tells which breaks the tests catch.

    python3 tools/mutate.py [BUILD] [--only TEXT[,TEXT...]] [--reference-only | --no-reference]

Each mutation below changes one constant, comparison or operator in src/ or in a shader.
For each, the script applies it, rebuilds the program and its tests in BUILD (default build/linux,
configured with the linux preset), runs the reference frames and the unit and GL tests on a
virtual X server, and puts the file back. A mutation is caught when a test fails; one
that does not build is reported apart. Run it before and after changing the tests: the
caught ones must stay caught. It takes half a minute to two minutes a mutation on two cores.

    --reference-only   runs the reference frames alone: which breaks they see by themselves
    --no-reference     runs the unit and GL tests alone
"""
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

# (file, text to find once, what it becomes)
MUTATIONS = [
    ("src/foundation/random_source.cpp", "214013u", "214011u"),
    ("src/foundation/ribbon.cpp", "if (n < 2) throw", "if (n < 1) throw"),
    ("src/foundation/ribbon.cpp", "m[3 * a + 1] = static_cast<float>(axes[a]->y);",
     "m[3 * a + 1] = static_cast<float>(axes[a]->z);"),
    ("src/foundation/ribbon.cpp", "vertexes_[3 * k + 2] = static_cast<float>(p.z);",
     "vertexes_[3 * k + 2] = static_cast<float>(-p.z);"),
    ("src/foundation/event_log.cpp", "if (errorMessage_ == nullptr) errorMessage_ = userMessage;",
     "errorMessage_ = userMessage;"),
    ("src/foundation/event_log.cpp", "if (!busy) break;", "if (busy) break;"),
    ("src/sound/scene_sound.cpp", "RandomUnit() > 0.99", "RandomUnit() > 0.9"),
    ("src/sound/wings_sound.cpp", "> 0.015", "> 0.15"),
    ("src/sound/wings_sound.cpp", "msSincePlay_ > 3000.0", "msSincePlay_ > 300.0"),
    ("src/sound/sound_manager.cpp", "bytes % 2 != 0", "bytes % 4 != 0"),
    ("src/sound/sound_manager.cpp", "if (whole) std::memcpy", "if (!whole) std::memcpy"),
    ("src/creature/flight_controller.cpp", "< 0.4 || elapsedMs_ > 3000", "< 0.4 || elapsedMs_ > 3500"),
    ("src/creature/flight_controller.cpp", "if (t >= 500) {", "if (t >= 600) {"),
    ("src/creature/flight_controller.cpp", "if (t < 1500) {", "if (t < 1000) {"),
    ("src/creature/wing.cpp", "if (time_ - lastEmit_ < 120) return;", "if (time_ - lastEmit_ < 100) return;"),
    ("src/creature/wing.cpp", "spark.brightness < 0.01", "spark.brightness < 0.1"),
    ("src/creature/creature_tables.cpp", "for (int k = 0; k < 4; ++k) {", "for (int k = 0; k < 3; ++k) {"),
    ("src/decor/sea_simulation.cpp", "if (RandomUnit() <= 0.7) return false;", "if (RandomUnit() <= 0.3) return false;"),
    ("src/decor/sea_simulation.cpp", "x0 * x1 < 0 ||", "x0 * x1 > 0 ||"),
    ("src/welcome/welcoming_message.cpp", "kDisplayMs = 20000.0", "kDisplayMs = 25000.0"),
    ("src/welcome/welcoming_message.cpp", "if (e < 0.325) return (e - 0.2) * 8.0;", "if (e < 0.325) return (e - 0.2) * 4.0;"),
    ("src/flowers/flower_instance.cpp", "if (r > 0.99) targetBend", "if (r > 0.9) targetBend"),
    ("src/host/frame_pacer.cpp", "spacing < 0.9 * periodMs_", "spacing < 0.5 * periodMs_"),
    ("src/host/frame_pacer.cpp", "(refreshRate > 0 ? refreshRate : 60.0)", "(refreshRate > 0 ? refreshRate : 50.0)"),
    ("src/host/frame_rate_counter.cpp", "sampleCount_ < 1000.0", "sampleCount_ < 10.0"),
    ("src/host/saver_input.cpp", "if (distance <= kMouseMoveThreshold) return false;",
     "if (distance < kMouseMoveThreshold) return false;"),
    ("src/host/saver_input.cpp", "now - lastCheck_ < kQuietMs", "now - lastCheck_ <= 0"),
    ("src/host/command_line.cpp", "read.value > 0xFFFFFFFFu", "read.value > 0xFFFFFFFFFu"),
    ("src/host/stored_options.cpp", "if (digits.length == 0) return kFailed;", "if (digits.length == 0) return kSucceeded;"),
    ("src/host/stored_options.cpp", "if (i != 0) out += ';';", "out += ';';"),
    ("src/host/stored_options.cpp", "return written && committed ? kSucceeded : kKeyUnavailable;",
     "return written || committed ? kSucceeded : kKeyUnavailable;"),
    ("src/foundation/layer_copy.cpp", "if (!painted_) return false;", "if (painted_) return false;"),
    ("src/foundation/layer_copy.cpp", "glBlitFramebuffer(area_.x, area_.y, area_.x + area_.width, area_.y + area_.height, 0,",
     "glBlitFramebuffer(area_.x, area_.y + 1, area_.x + area_.width, area_.y + area_.height + 1, 0,"),
    ("src/foundation/layer_copy.cpp", "glBlitFramebuffer(0, area_.height, area_.width, 0,",
     "glBlitFramebuffer(0, 0, area_.width, area_.height,"),
    ("src/foundation/view_volume.cpp", "plane % 2 == 0 ? 1.0 : -1.0", "plane % 2 == 0 ? 1.0 : 1.0"),
    ("src/foundation/view_volume.cpp", "< -radius) return false;", "< radius) return false;"),
    ("src/creature/flying_creature.cpp", "framesDrawn_ == 2 ||", "framesDrawn_ == 3 ||"),
    ("src/creature/flying_creature.cpp", "kWingReach = 0.35;", "kWingReach = 0.1;"),
    ("src/creature/wing.cpp", "for (int streak = 0; streak < kStreaks; ++streak) RandomUnit();",
     "for (int streak = 1; streak < kStreaks; ++streak) RandomUnit();"),
    ("src/decor/manager_decor.h", "if (!seaMoved_ && whole_.Put())", "if (whole_.Put())"),
    ("src/decor/sea_simulation.cpp", "stepped = true;", "stepped = false;"),
    ("src/foundation/bitmap_reader.cpp", "return (v << 3) | (v >> 2);", "return (v << 3) | (v >> 3);"),
    ("src/foundation/bitmap_reader.cpp", "green = Expand5((v >> 5) & 31);", "green = Expand5((v >> 6) & 31);"),
    ("src/foundation/bitmap_reader.cpp", "if (coloursUsed > 256) return false;", "if (coloursUsed > 255) return false;"),
    ("src/foundation/bitmap_reader.cpp", "const bool topDown = h < 0;", "const bool topDown = h > 0;"),
    ("src/host/render_settings.cpp", "interval >= 0 && interval <= kLargestSwapInterval",
     "interval >= 0 && interval < kLargestSwapInterval"),
    ("src/host/saver_arguments.cpp", "if (window == 0) return {SaverMode::Invalid, 0};",
     "if (window == 0) return {SaverMode::Preview, 0};"),
    ("src/host/saver_arguments.cpp", "if (i + 1 < text.size() && text[i + 1] == ':')",
     "if (i + 1 < text.size() && text[i + 1] == ';')"),
    ("src/host/settings_dialog_model.cpp", "if (notification != 0) return Outcome::Ignored;",
     "if (notification > 1) return Outcome::Ignored;"),
    ("src/host/render_thread.cpp", "if (StopLooping.load() == 0) link_.RequestFailureMessage();",
     "link_.RequestFailureMessage();"),
    ("src/host/render_thread.cpp", "if (settings_.frameDelayUs > 0) {", "if (settings_.frameDelayUs > 1000) {"),
    ("src/scene/saver_scene.cpp", "if (decor_) decor_->Reshape(PixelRect{0, 0, width, height});",
     "if (decor_) decor_->Reshape(PixelRect{0, 0, height, width});"),
    ("src/decor/cliffs.cpp", "if (!clear && !solid) return Kind::Blended;", "if (!clear || !solid) return Kind::Blended;"),
    ("src/decor/cliffs.cpp", "(mask[p] << 24)", "(mask[p] << 16)"),
    ("src/creature/flight_controller.h", "{0.15, 0, 0, 0.75, 0.1}", "{0.25, 0, 0, 0.65, 0.1}"),
    ("src/creature/flight_controller.cpp", "hoverMs_ = RandomUnit() * 500;", "hoverMs_ = RandomUnit() * 400;"),
    ("src/creature/flight_controller.cpp", "(RandomUnit() + 1) * 0.2;", "(RandomUnit() + 1) * 0.25;"),
    ("src/creature/flight_controller.cpp", "if (t >= 2000) {", "if (t >= 2500) {"),
    ("src/creature/flight_controller.cpp", "0.015 * envelope", "0.02 * envelope"),
    ("src/creature/flight_controller.cpp", "toTarget * (0.006 * stepMs_)", "toTarget * (0.005 * stepMs_)"),
    ("src/creature/wing.h", "0.7 * std::cos(0.9 *", "0.7 * std::cos(0.8 *"),
    ("src/creature/wing.cpp", "spark.brightness *= 0.992;", "spark.brightness *= 0.99;"),
    ("src/creature/wing.cpp", "1 - 0.001 * stepMs", "1 - 0.002 * stepMs"),
    ("src/creature/flying_creature.cpp", "kWingRoot(0.6, 0.05, 0.03)", "kWingRoot(0.6, 0.06, 0.03)"),
    ("src/flowers/flower_instance.cpp", "std::cos(u * kTwoPi) * 0.05;", "std::cos(u * kTwoPi) * 0.04;"),
    ("src/flowers/flower_instance.cpp", "lightPosition = (2 * u - 1) * 6.0;", "lightPosition = (2 * u - 1) * 5.0;"),
    ("src/flowers/flower_instance.cpp", "bendVelocity * dt * 0.00001;", "bendVelocity * dt * 0.000012;"),
    ("src/flowers/flower_instance.cpp", "bend * 0.0015, pull)", "bend * 0.0016, pull)"),
    ("src/decor/sea_simulation.cpp", "(b[k] - mean) * 0.9900990099009901", "(b[k] - mean) * 0.98"),
    ("src/foundation/ribbon.cpp", "1.0 - 0.8, lagged), Scale(node.axisZ, 0.8,", "1.0 - 0.7, lagged), Scale(node.axisZ, 0.7,"),
    ("src/foundation/vector_math.cpp", "*this = Vector3(1.0, 0.0, 0.0);", "*this = Vector3(0.0, 1.0, 0.0);"),
    ("src/foundation/vector_math.cpp", "(k * u.x * u.y - s * u.z) * in.y", "(k * u.x * u.y + s * u.z) * in.y"),
    ("src/creature/wing.cpp", "glColor3d(1.5 * k, 0.3 * k, 0.0);", "glColor3d(1.5 * k, 0.5 * k, 0.0);"),
    ("src/creature/wing.cpp", "  glDepthMask(GL_FALSE);", "  glDepthMask(GL_TRUE);"),
    ("resources/shaders/ribbon.vert", "float offset = nodeIndexf * NumberOfNodes_inverse - inverseX;",
     "float offset = inverseX - nodeIndexf * NumberOfNodes_inverse;"),
    ("resources/shaders/ribbon.vert", "vNormal = frame * aNormal;", "vNormal = aNormal;"),
    ("resources/shaders/ribbon_scaled.vert", "- inverseX) * uRibbonLength;", "- inverseX) * 0.9 * uRibbonLength;"),
    ("resources/shaders/ribbon_scaled.vert", "vec3(offset, gl_Vertex.y, gl_Vertex.z)", "vec3(offset, gl_Vertex.z, gl_Vertex.y)"),
    ("src/flowers/flower_meshes.cpp", "{v, v - 1, v - 17, v - 16, v, v - 17}", "{v - 1, v, v - 17, v - 16, v, v - 17}"),
    ("src/flowers/flower_meshes.cpp", "{a, next, a + 4, next, next + 4, a + 4}", "{next, a, a + 4, next, next + 4, a + 4}"),
    ("src/flowers/flower_instance.cpp", "if (Dot(direction, g) < 0) g = Vector3(0, 1, 0);",
     "if (Dot(direction, g) < -0.5) g = Vector3(0, 1, 0);"),
    ("src/flowers/flower_instance.cpp", "Scale(last.axisX, length / n, back)", "Scale(last.axisX, length / (n + 1), back)"),
]


def run(command, **kwargs):
    return subprocess.run(command, cwd=ROOT, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, **kwargs).returncode


def main():
    arguments = sys.argv[1:]
    only = None
    if "--only" in arguments:
        only = arguments[arguments.index("--only") + 1]
        del arguments[arguments.index("--only"):arguments.index("--only") + 2]
    suites = {"unit", "reference"}
    for flag, dropped in (("--reference-only", "unit"), ("--no-reference", "reference")):
        if flag in arguments:
            arguments.remove(flag)
            suites.discard(dropped)
    build = arguments[0] if arguments else "build/linux"
    xvfb = ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24"]
    # Each suite: the targets it needs and the command that runs it. The reference frames
    # come first: what they catch needs no unit test rebuilt.
    runs = []
    if "reference" in suites:
        runs.append((["driftglass", "driftglass_e2e_tests"],
                     xvfb + [os.path.join(build, "tests", "driftglass_e2e_tests"),
                             "--gtest_filter=LinuxSaverTest.FixedFramesLookAsTheReferencesDo"]))
    if "unit" in suites:
        runs.append((["driftglass_unit_tests", "driftglass_linux_unit_tests",
                      "driftglass_gl_tests"],
                     xvfb + ["ctest", "--test-dir", build, "-L", "unit|gl", "-j2",
                             "--stop-on-failure", "--timeout", "120"]))

    def verdict():
        """'caught', 'MISSED' or 'no build' for the code as it stands."""
        for targets, command in runs:
            if run(["cmake", "--build", build, "-j2", "--target"] + targets) != 0:
                return "no build"
            if run(command) != 0:
                return "caught"
        return "MISSED"

    if verdict() != "MISSED":
        sys.exit("mutate: the unbroken code must build and pass its tests first")
    results = {"caught": [], "MISSED": [], "no build": []}
    for path, old, new in MUTATIONS:
        if only and not any(part in path for part in only.split(",")):
            continue
        full = os.path.join(ROOT, path)
        with open(full) as file:
            original = file.read()
        if original.count(old) != 1:
            sys.exit(f"mutate: {path}: '{old}' is not there exactly once")
        try:
            with open(full, "w") as file:
                file.write(original.replace(old, new))
            result = verdict()
        finally:
            with open(full, "w") as file:
                file.write(original)
        results[result].append(path)
        print(f"{result:9}{path}: {old} -> {new}", flush=True)
    verdict()
    print(", ".join(f"{len(names)} {result.lower()}" for result, names in results.items()))
    sys.exit(1 if results["MISSED"] else 0)

if __name__ == "__main__":
    main()
