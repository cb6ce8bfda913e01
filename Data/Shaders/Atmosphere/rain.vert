// Each drop arrives as four vertices at one position; the texture
// coordinates say which corner of the streak each one becomes: a thin
// vertical streak above the drop, as wide on screen whichever way it is seen.
// The drops fall through a tall column around the camera; they are folded
// into a box around the eye, so wherever the camera flies it is in the rain.
uniform vec4 CameraPos;

varying vec2 Corner;
varying float Fade;

const float StreakLength = 7.0;
const float StreakWidth = 0.1;
const vec3 BoxSize = vec3(160.0, 160.0, 120.0);
const vec3 BoxBelowEye = vec3(80.0, 80.0, 50.0);
const float NearFrom = 4.0, NearTo = 12.0;
const float FarFrom = 50.0, FarTo = 80.0;

void main() {
    vec3 Drop = CameraPos.xyz + mod(gl_Vertex.xyz - CameraPos.xyz + BoxBelowEye, BoxSize) - BoxBelowEye;
    vec4 Bottom = gl_ModelViewMatrix * vec4(Drop, 1.0);
    vec4 Top = gl_ModelViewMatrix * vec4(Drop + vec3(0.0, 0.0, StreakLength), 1.0);
    vec2 Along = Top.xy / max(-Top.z, 0.01) - Bottom.xy / max(-Bottom.z, 0.01);
    vec2 Across = length(Along) > 1e-6 ? normalize(vec2(-Along.y, Along.x)) : vec2(1.0, 0.0);
    Corner = gl_MultiTexCoord0.xy;
    vec4 Position = mix(Bottom, Top, Corner.y);
    // At least about a pixel wide however far away.
    Position.xy += Across * (Corner.x - 0.5) * max(StreakWidth, -Position.z * 0.003);
    float Distance = distance(Drop, CameraPos.xyz);
    Fade = smoothstep(NearFrom, NearTo, Distance) * (1.0 - smoothstep(FarFrom, FarTo, Distance));
    gl_ClipVertex = Position;
    gl_Position = gl_ProjectionMatrix * Position;
}
