// The overcast's per-vertex part: the direction to the dome, and the light
// of Texture1 for the height it is seen at (it changes slowly from the
// horizon to the zenith, so the fragments only blend it).
uniform sampler2D Texture1;
uniform vec4 CameraPos;

varying vec3 ViewDir;
varying vec3 Light;
varying float Fade;  // 0 at the horizon, where the clouds melt into the fog

void main() {
    ViewDir = gl_Vertex.xyz - CameraPos.xyz;
    float Up = max(normalize(ViewDir).z, 0.0);
    Light = texture2DLod(Texture1, vec2(0.02 + 0.96 * sqrt(Up), 0.5), 0.0).rgb;
    Fade = smoothstep(0.0, 0.2, Up);
    // The water line is a user clip plane: clip in eye space.
    gl_ClipVertex = gl_ModelViewMatrix * gl_Vertex;
    gl_Position = ftransform();
}
