// The stars' vertex program: the fragment program works with the direction
// from the camera to the dome (the dome is so large that this is the
// direction of the sky seen there).
uniform vec4 CameraPos;

varying vec3 ViewDir;

void main() {
    ViewDir = gl_Vertex.xyz - CameraPos.xyz;
    // The water line is a user clip plane: clip in eye space.
    gl_ClipVertex = gl_ModelViewMatrix * gl_Vertex;
    gl_Position = ftransform();
}
