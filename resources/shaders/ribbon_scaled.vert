// Ribbon vertex shader with a length factor: a fixed-size strip with all axes and a common
// scale: the strip is uRibbonLength long; the vertex's x picks its node, y and z are offsets
// across (not scaled). The grid point and the surface rulers are passed on for the surface.
const int NumberOfNodes = 20;
const float NumberOfNodes_inverse = .05;

uniform mat3 uRibbonMatrixes[NumberOfNodes];
uniform vec3 uRibbonVertexes[NumberOfNodes];
uniform float uRibbonLength;

attribute vec2 aGridPoint;
attribute vec3 aNormal;
attribute vec3 aGridX;
attribute vec3 aGridY;

varying vec2 vGridPoint;
varying vec3 vNormal;
varying vec3 vGridX;
varying vec3 vGridY;
varying vec3 vGlobalCoordinates;

void main() {
  float inverseX = 1.0 - gl_Vertex.x;
  float nodeIndexf = floor(inverseX / NumberOfNodes_inverse);
  int nodeIndex = int(nodeIndexf);
  float offset = (nodeIndexf * NumberOfNodes_inverse - inverseX) * uRibbonLength;
  mat3 frame = uRibbonMatrixes[nodeIndex];
  vec3 coordinate = uRibbonVertexes[nodeIndex] + frame * vec3(offset, gl_Vertex.y, gl_Vertex.z);
  gl_Position = gl_ModelViewProjectionMatrix * vec4(coordinate, 1.0);
  vGridPoint = aGridPoint;
  vNormal = frame * aNormal;
  vGridX = frame * aGridX;
  vGridY = frame * aGridY;
  vGlobalCoordinates = coordinate;
}
