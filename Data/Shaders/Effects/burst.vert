// Burst particles: camera-facing quads; the second texture set carries the
// particle's glow and cover.
void main() {
    gl_TexCoord[0] = gl_MultiTexCoord0;
    gl_TexCoord[1] = gl_MultiTexCoord1;
    gl_Position = ftransform();
}
