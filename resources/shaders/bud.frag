// Bud: a pale blue sphere raised into ridges along its azimuth, dark where the relief is flat.
varying vec3 vNormal;
varying vec3 vGlobalCoordinates;
varying vec3 vAxeX;
varying vec3 vAxeY;
varying vec2 vGridPoint;

const vec3 LightDirection = vec3(0.0, -1.0, 0.0);
const float ReliefHeight = 0.3;
const float AcrossFrequency = 15.0;
const float AlongFrequency = 1.0;
const vec3 BudColour = vec3(0.7, 0.7, 1.0);

void main() {
  float u = vGridPoint.x;
  float v = vGridPoint.y;
  vec3 n = normalize(vNormal);
  float i = AcrossFrequency * v;
  float a = AlongFrequency * u * u;
  float b = a * u;
  float c = 3.0 * a;
  float d = sin(b);
  float e = abs(d);
  float f = sin(i);
  float g = abs(f);
  float h = b + 1.0;
  float slopeX = ReliefHeight * g * c * (sign(d) * cos(b) - e / h) / h;
  float slopeY = ReliefHeight * AcrossFrequency * e * sign(f) * cos(i) / h;
  n = normalize(n + vAxeX * slopeX + vAxeY * slopeY);
  float height = ReliefHeight * e * g / h;
  vec3 colour = BudColour * smoothstep(0.0, 0.01, height);
  float q = dot(normalize(n), LightDirection);
  float diffuse = 0.2 + 0.8 * (q < 0.0 ? -q : 0.0);
  gl_FragColor = vec4(colour * diffuse, 1.0);
}
