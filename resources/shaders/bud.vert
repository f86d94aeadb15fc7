// Bud: places the unit sphere at the stalk's tip and hands the fragment shader the normal and
// a frame (along the azimuth and the polar angle) for its relief.
uniform mat4 uTransformationMatrix;
uniform vec3 uSphereCenter;
uniform vec3 uDirection;

attribute vec2 aGridPoint;

varying vec3 vNormal;
varying vec3 vGlobalCoordinates;
varying vec3 vAxeX;
varying vec3 vAxeY;
varying vec2 vGridPoint;

void main() {
  vec4 world = uTransformationMatrix * gl_Vertex;
  gl_Position = gl_ModelViewProjectionMatrix * world;
  vNormal = world.xyz - uSphereCenter;
  vGlobalCoordinates = world.xyz;
  vGridPoint = aGridPoint;
  vec3 axeY = cross(uDirection, vNormal);
  if (length(axeY) < 0.0001) axeY = vec3(uDirection.y, uDirection.z, uDirection.x);
  vAxeY = normalize(axeY);
  vAxeX = normalize(cross(vNormal, vAxeY));
}
