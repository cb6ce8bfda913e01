// Each drop arrives as four vertices at one position; the texture
// coordinates say which corner of the streak each one becomes: a thin
// vertical streak above the drop, as wide on screen whichever way it is seen.
uniform vec4 CameraPos;

varying vec2 Corner;
varying float Fade;

const float StreakLength = 9.0;
const float StreakWidth = 0.12;
const float FadeFrom = 120.0, FadeTo = 260.0;

void main() {
    vec4 Bottom = gl_ModelViewMatrix * gl_Vertex;
    vec4 Top = gl_ModelViewMatrix * (gl_Vertex + vec4(0.0, 0.0, StreakLength, 0.0));
    vec2 Along = Top.xy / -Top.z - Bottom.xy / -Bottom.z;
    vec2 Across = length(Along) > 1e-6 ? normalize(vec2(-Along.y, Along.x)) : vec2(1.0, 0.0);
    Corner = gl_MultiTexCoord0.xy;
    vec4 Position = mix(Bottom, Top, Corner.y);
    Position.xy += Across * (Corner.x - 0.5) * StreakWidth * max(1.0, -Position.z * 0.01);
    Fade = 1.0 - smoothstep(FadeFrom, FadeTo, distance(gl_Vertex.xyz, CameraPos.xyz));
    gl_ClipVertex = Position;
    gl_Position = gl_ProjectionMatrix * Position;
}
