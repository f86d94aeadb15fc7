// Surface "Horns": matte grey horns, lit from above, without a highlight.
varying vec3 vNormal;

const vec3 LightDirection = vec3(0.0, -1.0, 0.0);
const vec3 Color = vec3(.5922, .5922, .5922);

void main() {
  float value = dot(normalize(vNormal), LightDirection);
  float diffuse = value < 0.0 ? -value : 0.0;
  gl_FragColor = vec4(Color * (0.3 + 0.7 * diffuse), 1.0);
}
