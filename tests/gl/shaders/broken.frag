// Test program: does not compile.
void main() { gl_FragColor = undefinedThing; }
