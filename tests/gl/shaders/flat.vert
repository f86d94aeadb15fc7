// Test program: passes positions through and hands a colour uniform on.
uniform vec3 uColour;
varying vec3 vColour;
void main() {
  vColour = uColour;
  gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
