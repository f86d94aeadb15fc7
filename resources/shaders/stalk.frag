// Stalk: a green net with round holes that breathe, a band of yellow light running up now
// and then, lit from above, fading out at the root. The net's threads are rounded: across a
// cell the normal tilts along the surface's rulers, so the threads catch the light.
uniform float uHolesRadius;
uniform float uLightPosition;

varying vec2 vGridPoint;
varying vec3 vNormal;
varying vec3 vGridX;
varying vec3 vGridY;
varying vec3 vGlobalCoordinates;

const vec3 LightDirection = vec3(0.0, -1.0, 0.0);
const vec3 NetColour = vec3(0.03, 0.8, 0.03);
const vec3 LightColour = vec3(1.0, 0.8, 0.0);
const vec2 CellSize = vec2(0.05, 0.15);

void main() {
  vec2 g = vGridPoint;
  float h = uHolesRadius;
  vec2 p = fract(g / CellSize) - 0.5;
  float d = length(p);
  vec4 colour = vec4(NetColour * smoothstep(0.7 * h, 2.0 * h, d), smoothstep(0.9 * h, 1.2 * h, d));
  if (colour.a < 1.0 && abs(g.x - uLightPosition) < 0.05) {
    colour = vec4(colour.rgb + LightColour * (1.0 - colour.a), 1.0);
  }
  vec3 normal = normalize(vNormal + (normalize(vGridX) * p.x + normalize(vGridY) * p.y) * 0.4);
  float q = dot(normal, LightDirection);
  float diffuse = q < 0.0 ? -q : 0.0;
  float alpha = g.x < 0.03 ? g.x / 0.03 : colour.a;
  gl_FragColor = vec4(colour.rgb * (0.6 + 0.4 * diffuse), alpha);
}
