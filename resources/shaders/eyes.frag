// Surface "Eyes": glossy sea-green eyes with a tight highlight, lit from above.
varying vec3 vNormal;
varying vec3 vGlobalCoordinates;

const vec3 LightDirection = vec3(0.0, -1.0, 0.0);
const vec3 UserPoint = vec3(0.0, 0.0, 4.0);
const vec3 EyesColor = vec3(.0078, .9765, .6667);
const vec3 EyesSpecular = vec3(1., 1., 1.);
const float EyesSpecularPow = 32.;

void main() {
  vec3 N = normalize(vNormal);
  float specular = 0.0;
  float diffuse = 0.0;
  float value = dot(N, LightDirection);
  if (value < 0.0) {
    diffuse = -value;
    vec3 view = normalize(vGlobalCoordinates - UserPoint);
    value = 2.0 * value * dot(N, view) - dot(LightDirection, view);
    if (value > 0.0) specular = pow(value, EyesSpecularPow);
  }
  gl_FragColor = vec4(EyesColor * (0.3 + 0.7 * diffuse) + EyesSpecular * specular, 1.0);
}
