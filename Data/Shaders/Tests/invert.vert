// Passes the first texture coordinates on; fixed-function position.
void main() {
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
