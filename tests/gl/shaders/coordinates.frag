// Test program: shows where the ribbon shader put the fragment, as a colour.
varying vec3 vGlobalCoordinates;
void main() { gl_FragColor = vec4(vGlobalCoordinates * 0.5 + 0.5, 1.0); }
