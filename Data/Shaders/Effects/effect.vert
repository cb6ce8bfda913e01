// Glowing shots: camera-facing quads, textured, no lighting.
void main() {
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_Position = ftransform();
}
