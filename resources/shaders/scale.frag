// Surface "Scale": the creature's body, covered in raised oval scales, blue on their crowns
// and green towards their rims and in the gaps, lit from above with a highlight towards the
// viewer. The scale columns alternate their offset around the body.
varying vec2 vGridPoint;
varying vec3 vNormal;
varying vec3 vGridX;
varying vec3 vGridY;
varying vec3 vGlobalCoordinates;

const vec3 LightDirection = vec3(0.0, -1.0, 0.0);
const vec3 UserPoint = vec3(0.0, 0.0, 4.0);
const float ScaleWidth = .6;
const float ScaleHeight = .6;
const float ScaleThickness = .3;
const vec3 ScaleBackgroundColor = vec3(.2, .6, .2);
const vec3 ScaleColor = vec3(.1, .1, .8);
const vec3 ScaleSpecular = vec3(.6, .6, .6);
const float ScaleSpecularPow = 8.;

void main() {
  int i = int(vGridPoint.x / ScaleWidth);
  float lx = vGridPoint.x - (float(i) + 0.5) * ScaleWidth;
  float y = vGridPoint.y;
  if (i / 2 != (i + 1) / 2) y += 0.5;
  float ly = mod(y, ScaleHeight) - 0.5 * ScaleHeight;
  float a = 1.0 - 4.0 * (pow(abs(lx) / ScaleWidth, 2.0) + pow(abs(ly) / ScaleHeight, 2.0));
  vec3 n = vec3(0.0, 0.0, 1.0);
  vec3 colour = ScaleBackgroundColor;
  if (a > 0.0) {
    // A dome, steepest at its rim.
    float b = lx / (ScaleWidth * ScaleWidth);
    float c = ly / (ScaleHeight * ScaleHeight);
    float d = sqrt(a + 16.0 * ScaleThickness * ScaleThickness * (b * b + c * c));
    float e = 4.0 * ScaleThickness / d;
    n = vec3(e * b, e * c, sqrt(a) / d);
    colour = mix(ScaleBackgroundColor, ScaleColor, n.z);
  }
  vec3 N = vGridX * n.x + vGridY * n.y + vNormal * n.z;
  float specular = 0.0;
  float diffuse = 0.0;
  float value = dot(N, LightDirection);
  if (value < 0.0) {
    diffuse = -value;
    vec3 view = normalize(vGlobalCoordinates - UserPoint);
    value = 2.0 * value * dot(N, view) - dot(LightDirection, view);
    if (value > 0.0) specular = pow(value, ScaleSpecularPow);
  }
  gl_FragColor = vec4(colour * (0.3 + 0.7 * diffuse) + ScaleSpecular * specular, 1.0);
}
