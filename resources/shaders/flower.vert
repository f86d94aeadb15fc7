// Flower head: the quad as given, with its texture coordinates (-1 ... 1) passed on.
void main() {
  gl_TexCoord[0] = gl_MultiTexCoord0;
  gl_Position = gl_ModelViewProjectionMatrix * gl_Vertex;
}
