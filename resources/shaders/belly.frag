// Surface "Wrinkles": the creature's belly, green, its skin creased across in shallow grooves
// every 0.4 pattern units, lit from above with a soft highlight towards the viewer.
varying vec2 vGridPoint;
varying vec3 vNormal;
varying vec3 vGridX;
varying vec3 vGridY;
varying vec3 vGlobalCoordinates;

const vec3 LightDirection = vec3(0.0, -1.0, 0.0);
const vec3 UserPoint = vec3(0.0, 0.0, 4.0);
const float WrinkleWidth = .4;
const float WrinkleRadius = 2.;  // at least WrinkleWidth / 2
const vec3 WrinkleColor = vec3(.2, .6, .2);
const vec3 WrinkleSpecular = vec3(.6, .6, .6);
const float WrinkleSpecularPow = 8.;

void main() {
  // Each wrinkle is a groove: the normal tilts forwards and backwards across its width.
  float x = mod(vGridPoint.x, WrinkleWidth);
  vec3 n = normalize(vec3(x - WrinkleWidth / 2.0, 0.0, WrinkleRadius));
  vec3 N = normalize(vGridX * n.x + vGridY * n.y + vNormal * n.z);
  float specular = 0.0;
  float diffuse = 0.0;
  float value = dot(N, LightDirection);
  if (value < 0.0) {
    diffuse = -value;
    vec3 view = normalize(vGlobalCoordinates - UserPoint);
    value = 2.0 * value * dot(N, view) - dot(LightDirection, view);
    if (value > 0.0) specular = pow(value, WrinkleSpecularPow);
  }
  gl_FragColor = vec4(WrinkleColor * (0.3 + 0.7 * diffuse) + WrinkleSpecular * specular, 1.0);
}
