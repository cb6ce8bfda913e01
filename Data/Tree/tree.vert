// Billboard corners are world positions with their picture coordinates.
varying vec2 PictureCoord;
varying vec3 WorldPos;

void main() {
    PictureCoord = gl_MultiTexCoord0.st;
    WorldPos = gl_Vertex.xyz;
    gl_ClipVertex = gl_ModelViewMatrix * gl_Vertex;
    gl_Position = ftransform();
}
