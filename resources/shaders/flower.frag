// Flower head: five translucent blue petals cut from the quad in polar coordinates, filled
// with ripples whose opacity moves outwards as the phase runs.
uniform float uPhase;

const float PetalNumber = 2.5;

void main() {
  float s = gl_TexCoord[0].s;
  float t = gl_TexCoord[0].t;
  float angle = 0.0;
  float radius = 0.0;
  if (s != 0.0 || t != 0.0) {
    angle = atan(t, s);
    radius = length(vec2(s, t));
  }
  radius = radius / (abs(sin(PetalNumber * angle)) + 0.01);
  if (radius > 1.0 || radius < 0.0) {
    gl_FragColor = vec4(0.0);
    return;
  }
  float alpha = sin(40.0 * radius + uPhase) * 2.0 * (1.0 - radius);
  gl_FragColor = vec4(0.0, 0.0, 1.0, alpha);
}
