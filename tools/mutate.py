#!/usr/bin/env python3
"""Breaks the code one line at a time and tells which breaks the tests catch, and which tests
catch them.

    python3 tools/mutate.py [BUILD] [--only TEXT[,TEXT...]] [--suites S[,S...]] [--matrix FILE]
    python3 tools/mutate.py --summary FILE [BUILD]

Each mutation below changes one constant, comparison or operator in src/ (the portable core
and both platform layers) or in a shader. For each, the script applies it, rebuilds what the
chosen suites need, runs them on a virtual X server, and puts the file back. A mutation is
caught when a test fails; one that does not build is reported apart.

Suites (default reference,unit,gl):
    reference  the two reference frames (an end-to-end test of the Linux program)
    unit       the unit tests of the core and of the Linux platform
    gl         the GL tests
    e2e        the Linux program's other end-to-end tests
    windows    the Windows unit tests under Wine (BUILD_WINDOWS, default build/windows) and the
               Windows program's end-to-end tests; needs WINEPREFIX and a Wine server up

Without --matrix, the suites run in that order and a mutation's run stops at its first failing
test. With --matrix FILE every suite runs whole for every mutation, and FILE gets, as JSON, the
tests each mutation fails; the summary printed at the end gives, for every test, how many
breaks it catches and how many of those no other test catches. A test whose catches are all
made by others is one the suite could do without; --summary prints that again from a FILE
written before, with the unit, GL and reference tests of BUILD that caught nothing. It takes half a minute to two minutes a
mutation on two cores for the default suites, and several minutes with e2e or windows.
"""
import json
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

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
    ("src/creature/flying_creature.cpp", "if (frames_ != 2 && !InSight()) return;", "if (frames_ != 3 && !InSight()) return;"),
    ("src/creature/flying_creature.cpp", "kWingReach = 0.35;", "kWingReach = 0.1;"),
    ("src/creature/wing.cpp", "streak = RandomUnit() * 3.1415926;", "streak = 3.1415926;"),
    ("src/decor/manager_decor.cpp", "if (!view.seaMoved && view.whole.Put()) return;", "if (view.whole.Put()) return;"),
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
    ("src/scene/saver_scene.cpp", "const int x1 = std::min(area.x + area.width, width),",
     "const int x1 = std::min(area.x + area.width, height),"),
    ("src/decor/cliffs.cpp", ": solid ? Kind::Solid", ": solid ? Kind::Clear"),
    ("src/foundation/compressed_picture.cpp", "static_cast<uint32_t>(alphas[k]) << 24;", "static_cast<uint32_t>(alphas[k]) << 16;"),
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
    ("src/scene/scene.h", "kLongestStepMs = 250;", "kLongestStepMs = 640;"),
    ("src/host/window_plan.cpp", "plan.missingWindowStatus = -1;", "plan.missingWindowStatus = 1;"),
    ("src/host/window_plan.cpp", "plan.input = WindowInput::SaverRules;\n      plan.mayShowBox = true;",
     "plan.input = WindowInput::Escape;\n      plan.mayShowBox = true;"),
    ("src/host/render_settings.cpp", "commandLine.mode != RunMode::FullScreen && commandLine.mode != RunMode::Root;",
     "commandLine.mode != RunMode::FullScreen;"),
    ("src/host/render_settings.cpp", "commandLine.playSound.value_or(stored.enableSound.Get() != 0)",
     "stored.enableSound.Get() != 0"),
    ("src/host/monitor_views.cpp", "held = j != i && Within(area, other) && (!same || j < i);",
     "held = j != i && Within(area, other) && !same;"),
    ("src/host/monitor_views.cpp", "PixelRect{x0 - window.x, window.y + window.height - y1, x1 - x0, y1 - y0}",
     "PixelRect{x0 - window.x, y0 - window.y, x1 - x0, y1 - y0}"),
    ("src/host/sound_share.cpp", "if (holds_) claim_.Give();\n    holds_ = false;", "holds_ = false;"),
    ("src/foundation/view_shape.cpp", "if (view.aspect >= kFourThree) {", "if (view.aspect >= 1.0) {"),
    ("src/foundation/compressed_picture.cpp", "rgb[1] = (g << 2) | (g >> 4);", "rgb[1] = (g << 2) | (g >> 3);"),
    # What the tests of the host, the options and the render thread each see alone.
    ("src/host/command_line.cpp", "if (windowIdGiven) {", "if (windowIdGiven && !root) {"),
    ("src/host/command_line.cpp", "result.window = command.window;", "result.window = 0;"),
    ("src/host/command_line.cpp", "commandLine.size() : at + 1;", "commandLine.size() : at;"),
    ("src/host/render_thread.cpp", "Platform().tellUser(line.c_str());", "(void)line;"),
    ("src/host/command_line.cpp", "std::tolower(static_cast<unsigned char>(saverWord[1]))",
     "saverWord[1]"),
    ("src/host/command_line.cpp", "result.playSound = name == \"sound\";",
     "result.playSound = name != \"sound\";"),
    ("src/host/command_line.cpp", "if (commandLine.frameDelayUs) return *commandLine.frameDelayUs;",
     "if (commandLine.frameDelayUs && !commandLine.fixedStepMs) return *commandLine.frameDelayUs;"),
    ("src/host/saver_arguments.cpp", "digits.value > 0xFFFFFFFFu ? 0",
     "digits.value >= 0xFFFFFFFFu ? 0"),
    ("src/host/saver_arguments.cpp", "if (i == text.size()) return {SaverMode::Settings, 0};",
     "if (i == text.size()) return {SaverMode::Invalid, 0};"),
    ("src/foundation/event_log.cpp", "return \"Unlabel record : \";", "return \"Unlabelled : \";"),
    ("src/foundation/event_log.cpp", "if (errorMessage_ == nullptr) errorMessage_ = userMessage;",
     "if (errorMessage_ == nullptr && file_ != nullptr) errorMessage_ = userMessage;"),
    ("src/host/frame_rate_counter.cpp", "static_cast<double>(static_cast<uint32_t>(now - lastTick_))",
     "static_cast<double>(now) - static_cast<double>(lastTick_)"),
    ("src/host/frame_rate_counter.h", "bottom = screenHeight / 10;", "bottom = screenHeight / 8;"),
    ("src/linux/keyfile_option_store.cpp", "ReadOptionText(text_, legacyGroup_, error)",
     "ReadOptionText(text_, kOptionGroup, error)"),
    ("src/linux/keyfile_option_store.cpp", "for (auto& [name, value] : *values) values_[name] = std::move(value);",
     "for (auto& [name, value] : *values) values_.emplace(name, std::move(value));"),
    ("src/linux/keyfile_option_store.cpp", "    unreadable_ = true;\n    return false;",
     "    return false;"),
    ("src/linux/keyfile_option_store.cpp", "\"cannot read \" + path_ + \": \" + error",
     "\"cannot read the option file: \" + error"),
    ("src/linux/keyfile_option_store.cpp", "if (text.empty() || text.back() != ' ') return;",
     "if (text.empty() || text.front() != ' ') return;"),
    ("src/linux/keyfile_option_store.cpp", "constexpr glong kLongest = 200;",
     "constexpr glong kLongest = 400;"),
    ("src/linux/keyfile_option_store.cpp", "if (found == values_.end()) return std::nullopt;",
     "if (found == values_.end()) return std::string();"),
    ("src/platform/memory_option_store.cpp", "if (found == open_->end()) return std::nullopt;",
     "if (found == open_->end()) return std::string();"),
    ("src/host/stored_options.cpp", "    if (!bytes) {\n      result = kFailed;\n      continue;",
     "    if (!bytes) {\n      continue;"),
    ("src/host/stored_options.cpp", "if (option->FromString(text) != kSucceeded) result = kFailed;",
     "if (option->FromString(text) != kSucceeded) return kFailed;"),
    ("src/host/saver_input.cpp", "switch (command & 0xFFF0u) {", "switch (command) {"),
    ("src/host/saver_input.cpp", "      acLineStatus_ = acLineStatus;\n", ""),
    ("src/host/settings_dialog_model.cpp", "saveError_ += why.empty() ? \".\" : \": \" + why;",
     "saveError_ += why.empty() ? \": \" + why : \".\";"),
    ("src/host/settings_dialog_model.h", "{kAllMonitorsId, kAllMonitorsText, kAllMonitorsHelp, &SaverSettings::allMonitors}",
     "{kAllMonitorsId, kAllMonitorsText, kAllMonitorsHelp, &SaverSettings::enableSound}"),
    ("src/host/render_thread.cpp", "  surface_.ReleaseSurface();\n", ""),
    ("src/host/render_thread.h", "int swapInterval = 1;", "int swapInterval = 0;"),
    ("src/host/render_thread.cpp", "  LoopFinished.Wait();\n  TheEventLog().WriteValue(kNotify, \"FPS = %g\", counter_.AverageFrameRate());",
     "  TheEventLog().WriteValue(kNotify, \"FPS = %g\", counter_.AverageFrameRate());\n  LoopFinished.Wait();"),
    ("src/host/render_thread.cpp", "const bool plays = soundWanted_ && soundShare_.Decide();",
     "const bool plays = soundShare_.Decide();"),
    ("src/host/render_thread.cpp", "TheEventLog().Write(kNotify, \"Sound is switched off: the scene runs silently\");",
     "TheEventLog().Write(kError, \"Sound is switched off: the scene runs silently\");"),
    # What the tests of the scene's parts see where the reference frames cannot.
    ("src/decor/sea_simulation.cpp", "while (elapsed_ > kStepMs) {", "if (elapsed_ > kStepMs) {"),
    ("src/decor/sea_simulation.cpp", "for (int a = 0; a < 2; ++a) wide->heights_[a][to] = heights_[a][from];",
     "for (int a = 0; a < 1; ++a) wide->heights_[a][to] = heights_[a][from];"),
    ("src/decor/sea_simulation.cpp", "static_cast<int>(std::ceil(beyond / kColumnSpacing)) + 1);",
     "static_cast<int>(std::ceil(beyond / kColumnSpacing)) + 2);"),
    ("src/decor/sea_simulation.cpp", "Drop(column + columns_ * row, next() * 0.15 + 0.01);",
     "Drop(column + columns_ * row, RandomUnit() * 0.15 + 0.01);"),
    ("src/creature/creature_tables.cpp", "const double s = 0.99 / (high - low);",
     "const float s = 0.99 / (high - low);"),
    ("src/creature/creature_tables.cpp", "std::vector<float> data(14 * n);",
     "std::vector<float> data(15 * n);"),
    ("src/foundation/ribbon.cpp", "current.x -= spacing;", "current.x += spacing;"),
    ("src/foundation/ribbon.cpp", "const double w = (1.0 / d) / n;",
     "const float w = (1.0 / d) / n;"),
    ("src/foundation/ribbon.cpp", "Cross(up, dir, side);", "Cross(up, dir, side).Normalize();"),
    ("src/foundation/ribbon.cpp", "const double r = std::max(0.0, u - static_cast<double>(k) / numberOfNodes_);",
     "const double r = std::max(0.0, std::fmod(u, 1.0 / numberOfNodes_));"),
    ("src/sound/scene_sound.cpp", "  Update(0.0);\n  sound_->PlayLooping();",
     "  sound_->PlayLooping();\n  Update(0.0);"),
    ("src/sound/scene_sound.cpp", "volume_ += 20;", "volume_ += 25;"),
    ("src/sound/scene_sound.cpp", "volume_ = volume_ - 5 < kQuiet ? kQuiet : volume_ - 5;",
     "volume_ = volume_ - 10 < kQuiet ? kQuiet : volume_ - 10;"),
    ("src/sound/scene_sound.cpp", "WriteError(kError, \"Can not create SceneSoundClass object\"",
     "WriteError(kNotify, \"Can not create SceneSoundClass object\""),
    ("src/sound/sound_manager.cpp", "return SamplesFailed(id, \"cannot be filled into their sound buffer\");",
     "return SamplesFailed(id, \"cannot be put into a sound buffer\");"),
    ("src/sound/sound_manager.cpp", "if (sound->Unlock() == kSucceeded && whole) return sound;",
     "if (sound->Unlock() == kSucceeded) return sound;"),
    ("src/sound/sound_manager.cpp", "sounds_.remove_if([sound](const auto& kept) { return kept.get() == sound; });",
     ""),
    ("src/sound/sound_manager.cpp", "if (looping_) buffer_->Play(true);", "buffer_->Play(true);"),
    ("src/sound/sound_manager.cpp", "buffer_ = std::move(buffer);\n  buffer_->SetVolume(volume_);",
     "buffer_ = std::move(buffer);"),
    ("src/creature/wing.cpp", "std::max(0.0, 1 - 0.001 * stepMs)", "(1 - 0.001 * stepMs)"),
    ("src/creature/wing.h", "int64_t time_ = 0;", "int32_t time_ = 0;"),
    ("src/welcome/welcoming_message.cpp", "placed.left = placed.right - (q.right - q.left) * scale;",
     "placed.left = placed.right - (q.right - q.left);"),
    ("src/foundation/random_source.cpp", "return n * 3.051850947599719e-05;",
     "return n * 3.0518509476e-05;"),
    # What the GL tests and the picture tests see where the reference frames cannot.
    ("src/creature/flying_creature.cpp", "if (a.location != -1) glDisableVertexAttribArray(a.location);",
     "glDisableVertexAttribArray(a.location);"),
    ("src/foundation/shader_program.cpp", "    deleteStages();\n    return kFailed;",
     "    return kFailed;"),
    ("src/foundation/shader_program.cpp", "    TheEventLog().Write(kError, line.c_str());\n    glDeleteShader(shader);",
     "    TheEventLog().Write(kError, line.c_str());"),
    ("src/foundation/texture_images.cpp", "kind == BlockKind::Mask ? \"is no mask\" : \"is a mask\"",
     "kind == BlockKind::Colour ? \"is no mask\" : \"is a mask\""),
    ("src/foundation/texture_images.cpp", "if (w != width || h != height) {", "if (w != width) {"),
    ("src/welcome/welcoming_message.cpp", "  glEnable(GL_DEPTH_TEST);\n  glDisable(GL_BLEND);",
     "  glDisable(GL_BLEND);"),
    ("src/foundation/layer_copy.cpp", "const int y1 = std::min(area.y + area.height, viewport_.y + viewport_.height);",
     "const int y1 = std::min(area.y + area.height, viewport_.y + viewport_.width);"),
    ("src/decor/waving_sea.cpp", "const std::vector<float>& texCoords = simulation_->TexCoords();",
     "const std::vector<float> texCoords = simulation_->TexCoords();"),
    ("src/scene/saver_scene.cpp", "  welcome_.reset();\n", ""),
    ("src/foundation/layer_copy.cpp", "  framesAtViewport_ = 0;\n  painted_ = false;",
     "  painted_ = false;"),
    ("src/foundation/layer_copy.cpp", "if (framesAtViewport_ < 1) {",
     "if (framesAtViewport_ < 2) {"),
    ("src/decor/waving_sea.cpp", "viewport.y + viewport.height - lowestRow",
     "viewport.height - lowestRow"),
    ("src/foundation/view_shape.cpp", "glViewport(view.viewport.x, view.viewport.y, view.viewport.width, view.viewport.height);",
     "glViewport(view.viewport.x, 0, view.viewport.width, view.viewport.height);"),
    ("src/linux/x11_display.cpp", "thread_local int firstXError = 0;", "int firstXError = 0;"),
    ("src/linux/glx_surface.cpp",
     "  if (GLXEW_MESA_swap_control) return \"GLX_MESA_swap_control\";\n  return nullptr;",
     "  return \"GLX_MESA_swap_control\";"),
    ("src/foundation/compressed_picture.cpp", "width % 4 != 0 || height % 4 != 0",
     "height % 4 != 0"),
    ("src/foundation/compressed_picture.cpp", "!(part.left < part.right)",
     "!(part.left <= part.right)"),
    ("src/foundation/compressed_picture.cpp", "palette[2][c] = (palette[0][c] + palette[1][c]) / 2;",
     "palette[2][c] = (palette[0][c] + palette[1][c]) / 3;"),
    ("src/foundation/compressed_picture.cpp", "mask != nullptr, texels", "mask == nullptr, texels"),
    ("src/decor/cliffs.cpp", "return p.t1 == piece.t0 && p.s0 == piece.s0 && p.s1 == piece.s1;",
     "return p.t0 == piece.t0 && p.s0 == piece.s0 && p.s1 == piece.s1;"),
    # The Linux platform: found by the e2e suite, some by the Linux unit tests.
    ("src/linux/x11_saver.cpp", "if (owner != None) {", "if (owner == None) {"),
    ("src/linux/x11_saver.cpp", "KeyPressMask | ButtonPressMask | PointerMotionMask | FocusChangeMask",
     "KeyPressMask | ButtonPressMask | FocusChangeMask"),
    ("src/linux/x11_saver.cpp", "if (parent_ != 0 && event.xconfigure.window == parent_) {",
     "if (parent_ == 0 && event.xconfigure.window == parent_) {"),
    ("src/linux/x11_saver.cpp", "surface_->Resize(event.xconfigure.width, event.xconfigure.height);",
     "surface_->Resize(event.xconfigure.width, event.xconfigure.width);"),
    ("src/linux/x11_saver.cpp", "static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_)",
     "static_cast<Atom>(event.xclient.data.l[0]) != deleteWindow_)"),
    ("src/linux/x11_saver.cpp", "if (plan_.mayShowBox) {", "if (!plan_.mayShowBox) {"),
    ("src/linux/x11_saver.cpp", "return startFailed_ ? 1 : 0;", "return 0;"),
    ("src/linux/x11_saver.cpp", "if (sources[2].revents & POLLIN) RequestClose();",
     "if (sources[2].revents & POLLOUT) RequestClose();"),
    ("src/linux/x11_saver.cpp", "if (plan_.place == WindowPlace::InParent) return Outcome::NoWindow;",
     "if (plan_.place == WindowPlace::Given) return Outcome::NoWindow;"),
    ("src/linux/linux_sound_claim.cpp", "held_ = soundFd_ == -1 || flock(soundFd_, LOCK_EX | LOCK_NB) == 0;",
     "held_ = soundFd_ == -1 || flock(soundFd_, LOCK_SH | LOCK_NB) == 0;"),
    ("src/linux/linux_sound_claim.cpp", "return !none;", "return none;"),
    ("src/linux/linux_sound_claim.cpp", "if (held_ && soundFd_ != -1) flock(soundFd_, LOCK_UN);",
     "if (held_ && soundFd_ != -1) flock(soundFd_, LOCK_SH);"),
    ("src/linux/linux_paths.cpp", "dot != std::string::npos) name.erase(dot);",
     "dot != std::string::npos) (void)dot;"),
    ("src/linux/openal_device.cpp", "if (state != AL_PLAYING) alSourcePlay(source_);",
     "if (state == AL_PLAYING) alSourcePlay(source_);"),
    ("src/linux/keyfile_option_store.cpp", "if (!retiredGroup.empty() && retiredGroup != group) {",
     "if (!retiredGroup.empty() && retiredGroup == group) {"),
    ("src/linux/linux_termination.cpp", "sigaction(SIGINT, &action, nullptr);", ""),
    # What the Linux end-to-end tests that the first platform run left without a catch of
    # their own each claim: the heads Xinerama tells apart, ALSA kept quiet, no display.
    ("src/linux/x11_display.cpp", "      if (count > 1) {", "      if (count > 2) {"),
    ("src/linux/openal_device.cpp", "setHandler(&IgnoreAlsaError);", "if (false) setHandler(&IgnoreAlsaError);"),
    ("src/linux/x11_saver.cpp", "    return 1;\n  }\n  X11Saver saver(display", "    return 0;\n  }\n  X11Saver saver(display"),
    # The Windows platform: found by the windows suite.
    ("src/windows/win32_saver.cpp", "return inputRules_.OnPointerMoved(CursorPosition());", "return false;"),
    ("src/windows/win32_saver.cpp", "if (surface_) surface_->Resize(LOWORD(lParam), HIWORD(lParam));",
     "if (surface_) surface_->Resize(LOWORD(lParam), LOWORD(lParam));"),
    ("src/windows/win32_saver.cpp", "return inputRules_.OnActivation(wParam != 0);",
     "return inputRules_.OnActivation(true);"),
    ("src/windows/win32_sound_claim.cpp", "held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;",
     "held_ = waited != WAIT_FAILED;"),
    ("src/windows/win32_sound_claim.cpp", "if (blanksScreen) fullScreen_", "if (!blanksScreen) fullScreen_"),
    ("src/windows/win32_registry_store.cpp", "if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;",
     "if (type == REG_BINARY) return std::nullopt;"),
    ("src/windows/dsound_device.cpp", "looping ? DSBPLAY_LOOPING : 0", "looping && false ? DSBPLAY_LOOPING : 0"),
]


XVFB = ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24"]
WINDOWS_BUILD = os.environ.get("BUILD_WINDOWS", "build/windows")


def run(command, **kwargs):
    return subprocess.run(command, cwd=ROOT, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, **kwargs).returncode


def suite_runs(name, build, windows_build, stop_early):
    """The (build folder, targets, ctest arguments) that make up one suite."""
    stop = ["--stop-on-failure"] if stop_early else []
    reference = "^e2e\\.LinuxSaverTest\\.FixedFramesLookAsTheReferencesDo$"
    return {
        "reference": [(build, ["driftglass", "driftglass_e2e_tests"], ["-R", reference])],
        "unit": [(build, ["driftglass_unit_tests", "driftglass_linux_unit_tests"],
                  ["-L", "unit", "-j2"] + stop)],
        "gl": [(build, ["driftglass_gl_tests"], ["-L", "gl", "-j2"] + stop)],
        "e2e": [(build, ["driftglass", "driftglass_e2e_tests"],
                 ["-L", "e2e", "-E", "WindowsSaverTest|" + reference] + stop)],
        "windows": [(windows_build, ["all"], ["-L", "unit"] + stop),
                    (build, ["driftglass_e2e_tests"], ["-R", "^e2e\\.WindowsSaverTest\\."] + stop)],
    }[name]


def failing_tests(runs):
    """The names of the tests that fail, or None when something does not build."""
    failed = []
    for build, targets, selection in runs:
        if run(["cmake", "--build", build, "-j2", "--target"] + targets) != 0:
            return None
        with tempfile.TemporaryDirectory() as folder:
            junit = os.path.join(folder, "results.xml")
            ctest = ["ctest", "--test-dir", build, "--timeout", "300", "--output-junit", junit]
            if build == WINDOWS_BUILD:
                # Wine's own background processes start first, away from CTest's pipes.
                ctest = ["sh", "-c", "wine cmd /c exit >/dev/null 2>&1; exec \"$@\"", "sh"] + ctest
            run(XVFB + ctest + selection)
            if not os.path.exists(junit):
                failed.append(f"(no results from {' '.join(selection)})")
                continue
            for case in ElementTree.parse(junit).getroot().iter("testcase"):
                if case.get("status") == "fail" or case.find("failure") is not None:
                    failed.append(case.get("name"))
        if failed and "--stop-on-failure" in selection:
            break
    return failed


def summary(records):
    """Per test: the breaks it catches and those only it catches, most unique first."""
    catches = {}
    for record in records:
        for test in record["failed"] or []:
            catches.setdefault(test, []).append(record)
    lines = []
    for test, caught in catches.items():
        alone = [r for r in caught if len(r["failed"]) == 1]
        lines.append((len(alone), len(caught), test))
    lines.sort(key=lambda line: (-line[0], -line[1], line[2]))
    return lines


def could_go(records):
    """Tests that can be dropped one after another, each time only when every break it catches
    is still caught by a test that stays: the fewest catches go first."""
    catchers = {}
    for index, record in enumerate(records):
        for test in record["failed"] or []:
            catchers.setdefault(index, set()).add(test)
    staying = {test for tests in catchers.values() for test in tests}
    gone = []
    while True:
        movable = [t for t in staying
                   if all(len(tests & staying) > 1 for tests in catchers.values() if t in tests)]
        if not movable:
            return gone
        caught = {t: sum(t in tests for tests in catchers.values()) for t in movable}
        test = min(movable, key=lambda t: (caught[t], t))
        staying.discard(test)
        gone.append((test, caught[test]))


def print_summary(records, tests_run):
    print("unique  caught  test")
    lines = summary(records)
    for alone, caught, test in lines:
        print(f"{alone:6}  {caught:6}  {test}")
    catching = {test for _, _, test in lines}
    for test in sorted(set(tests_run) - catching):
        print(f"{0:6}  {0:6}  {test}")
    print("Could go, every break each catches still caught by the rest:")
    for test, caught in could_go(records):
        print(f"  {test} ({caught})")


def tests_listed(build, selections):
    """The names of the tests that the ctest selections run."""
    names = []
    for selection in selections:
        listing = subprocess.run(["ctest", "--test-dir", build, "-N"] + selection, cwd=ROOT,
                                 capture_output=True, text=True).stdout
        names += [line.split(": ", 1)[1].strip() for line in listing.splitlines()
                  if line.strip().startswith("Test") and ": " in line]
    return names


def main():
    arguments = sys.argv[1:]
    if arguments[:1] == ["--summary"]:
        # A matrix written before, summed up again, with the tests of BUILD that caught nothing.
        with open(arguments[1]) as file:
            records = json.load(file)
        build = arguments[2] if len(arguments) > 2 else "build/linux"
        print_summary(records, tests_listed(build, [["-L", "unit|gl"],
                                                    ["-R", "FixedFramesLookAsTheReferencesDo"]]))
        return

    def option(flag, default=None):
        if flag not in arguments:
            return default
        value = arguments[arguments.index(flag) + 1]
        del arguments[arguments.index(flag):arguments.index(flag) + 2]
        return value

    only = option("--only")
    chosen = option("--suites", "reference,unit,gl").split(",")
    matrix = option("--matrix")
    build = arguments[0] if arguments else "build/linux"
    runs = [r for name in chosen for r in suite_runs(name, build, WINDOWS_BUILD, matrix is None)]

    def verdict():
        """('caught' | 'MISSED' | 'no build', the failing tests) for the code as it stands."""
        failed = failing_tests(runs)
        if failed is None:
            return "no build", None
        return ("caught" if failed else "MISSED"), failed

    if verdict()[0] != "MISSED":
        sys.exit("mutate: the unbroken code must build and pass its tests first")
    results = {"caught": [], "MISSED": [], "no build": []}
    records = []
    if matrix and os.path.exists(matrix):
        # A matrix begun before goes on from where it stopped.
        with open(matrix) as file:
            records = json.load(file)
    done = {(r["path"], r["old"], r["new"]) for r in records}
    for path, old, new in MUTATIONS:
        if only and not any(part in path for part in only.split(",")):
            continue
        if (path, old, new) in done:
            continue
        full = os.path.join(ROOT, path)
        with open(full) as file:
            original = file.read()
        if original.count(old) != 1:
            sys.exit(f"mutate: {path}: '{old}' is not there exactly once")
        try:
            with open(full, "w") as file:
                file.write(original.replace(old, new))
            result, failed = verdict()
        finally:
            with open(full, "w") as file:
                file.write(original)
        results[result].append(path)
        records.append({"path": path, "old": old, "new": new, "result": result, "failed": failed})
        shown = f" [{len(failed)} fail]" if matrix and failed else ""
        print(f"{result:9}{path}: {old} -> {new}{shown}", flush=True)
        if matrix:
            with open(matrix, "w") as file:
                json.dump(records, file, indent=1)
    verdict()
    print(", ".join(f"{len(names)} {result.lower()}" for result, names in results.items()))
    if matrix:
        print_summary(records, [])
    sys.exit(1 if results["MISSED"] else 0)


if __name__ == "__main__":
    main()
