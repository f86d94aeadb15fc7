// Test program: the colour the vertex stage handed on.
varying vec3 vColour;
void main() { gl_FragColor = vec4(vColour, 1.0); }
